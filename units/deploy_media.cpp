// The media phase of a channel deployment: every clip's media is made
// present on the server before any unit's file names it.

#include "units/deploy.h"

namespace vantic {

MediaUploader ServerMediaUploader(RequestLogin& login, MessageBoxes& messages) {
    return [&login, &messages](PlayEntry& clip, OperationProgress& progress, std::string& cause) {
        return UploadMedia(login.Access(), messages, clip.path, clip.contentName, &progress, {},
                           &cause);
    };
}

bool UploadClipMedia(DeployContext& context, EntryList& clips) {
    OperationProgress& progress = context.progress;
    MessageBoxes& messages = context.platform.Messages();
    if (clips.empty()) {
        // Deploying an empty list clears the channel on every target unit.
        Message question{progress.Dialog(), "Are you sure you want to deploy an empty list?",
                         "LIST IS EMPTY", MessageIcon::Warning, MessageButtons::YesNoCancel};
        question.noIsDefault = true;
        const MessageAnswer answer = messages.Show(question);
        if (answer != MessageAnswer::Yes) {
            return false;
        }
    }
    if (!context.login.EnsureLogin(progress.Dialog())) {
        return false;
    }
    for (PlayEntry& clip : clips) {
        std::string cause;
        if (!context.uploadMedia || !context.uploadMedia(clip, progress, cause)) {
            if (!progress.Cancelled()) {
                // The text is the file's path; the details say what went wrong.
                Message failed{progress.Dialog(), clip.path, "Error uploading media file",
                               MessageIcon::Warning};
                failed.details = std::move(cause);
                messages.Show(failed);
            }
            return false;
        }
        if (progress.StepOverall()) {
            return false;
        }
    }
    return true;
}

}  // namespace vantic
