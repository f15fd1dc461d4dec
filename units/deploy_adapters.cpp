#include "units/deploy_adapters.h"

namespace vantic {

MediaUploader ServerMediaUploader(DeployLogin& login, MessageBoxes& messages) {
    return [&login, &messages](PlayEntry& clip, DeployProgress& progress) {
        return UploadMedia(login.Access(), messages, clip, &progress);
    };
}

}  // namespace vantic
