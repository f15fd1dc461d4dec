#pragma once

// The application's deployments: one progress dialog ("Operation
// Progress...", whose item line tells the transfer rate and time left of
// media uploads), with the unit list, the login, the playlist document and
// the typed confirmation behind the deployment's interfaces. The main
// window's commands, the unit editor and the administration commands all
// deploy through it.

#include <optional>

#include "framework/wreg.h"
#include "net/digest_cache.h"
#include "net/server_login.h"
#include "playlist/playlist.h"
#include "units/channel_media.h"
#include "units/deploy.h"
#include "units/upload_progress.h"
#include "units/venue_list.h"

namespace vantic {

class Deployment {
  public:
    // Channel deployments show their preview; the last upload rate is kept
    // in settings (none: not kept), and media digests in digestCacheFile
    // (empty: for the object's life only), read through files.
    Deployment(Platform& platform, VenueList& venue, ServerLogin& login, PlayList& playlist,
               ConfirmFormView& confirm, WReg* settings = nullptr,
               FileService& files = PosixFileService(),
               std::string digestCacheFile = DefaultDigestCachePath());
    Deployment(const Deployment&) = delete;
    Deployment& operator=(const Deployment&) = delete;

    // The window that owns the checks' messages and the progress dialog.
    void SetMainWindow(WindowId mainWindow) { context_.mainWindow = mainWindow; }

    // Deploy (units/deploy.h) with the application's parts.
    DeployResult Deploy(DeployRequest request);

    // For operations that run their own steps on the same parts.
    [[nodiscard]] DeployContext& Context() { return context_; }
    [[nodiscard]] UploadProgress& Progress() { return progress_; }

  private:
    UploadProgress progress_;
    ChannelMedia media_;
    DeployContext context_;
};

}  // namespace vantic
