#include "units/deploy_adapters.h"

namespace vantic {

MediaUploader ServerMediaUploader(DeployLogin& login, MessageBoxes& messages) {
    return [&login, &messages](PlayEntry& clip, DeployProgress& progress) {
        return UploadMedia(login.Access(), messages, clip, &progress);
    };
}

ClipSource ShownChannelClips(PlayList& playlist) {
    return [&playlist]() -> std::optional<ChannelClips> {
        return ChannelClips{playlist.Channel(), playlist.ShownClips()};
    };
}

}  // namespace vantic
