#include "app/deployment.h"

namespace vantic {
namespace {

// Copies of the clips of the channel the playlist document shows.
ClipSource ShownChannelClips(PlayList& playlist) {
    return [&playlist]() -> std::optional<ChannelClips> {
        return ChannelClips{playlist.Channel(), playlist.ShownClips()};
    };
}

}  // namespace

Deployment::Deployment(Platform& platform, VenueList& venue, ServerLogin& login, PlayList& playlist,
                       ConfirmFormView& confirm, WReg* settings, FileService& files,
                       std::string digestCacheFile)
    : progress_(platform),
      media_(login, platform.Messages(), platform.Time(), files, std::move(digestCacheFile),
             settings),
      context_{platform,
               kNoWindow,
               venue,
               login,
               progress_,
               confirm,
               ShownChannelClips(playlist),
               media_.Uploader(),
               &media_} {}

DeployResult Deployment::Deploy(DeployRequest request) {
    return vantic::Deploy(context_, std::move(request));
}

}  // namespace vantic
