#pragma once

// What a deployment needs of the rest of the program, each as a small
// interface: the unit list (its rows, selection and lock), the login
// (net/server_access.h), the progress dialog (platform/operation_progress.h),
// the shown channel's clips and the media uploader. VenueList, ServerLogin
// and UploadProgress implement them; vanticctl's UnitRows and FixedLogin
// too, so both run one deployment routine.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/scoped_hold.h"
#include "framework/wlistview.h"
#include "net/server_access.h"
#include "net/upload_media.h"
#include "platform/message_box.h"
#include "platform/operation_progress.h"
#include "platform/window.h"
#include "playlist/entry_set.h"

namespace vantic {

// The unit list: rows in display order, each naming one unit.
class DeployTargets : public virtual RowSelection {
  public:
    // The row's unit number; 0 when the row names no unit. Call it under
    // the lock.
    [[nodiscard]] virtual std::uint32_t UnitNumberAt(int row) = 0;
    // The list's re-entrant lock: while it is held, a background refresh
    // can neither add nor reorder rows.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

// Holds the unit list's lock for a scope.
using TargetsHold = ScopedHold<DeployTargets>;

// The clips to deploy: copies of the shown channel's clips, in row order.
struct ChannelClips {
    int channel = 0;  // 0-3
    EntryList clips;
};

// Copies the shown channel's clips; none when they cannot be had.
using ClipSource = std::function<std::optional<ChannelClips>()>;

// Makes sure the server holds a clip's media and sets the clip's content
// name, driving the progress dialog's item bar. False on failure, with why
// in cause; false with the progress cancelled means the operator stopped it.
using MediaUploader =
    std::function<bool(PlayEntry& clip, OperationProgress& progress, std::string& cause)>;

// UploadMedia with the login's current credentials; the only message it
// shows itself (a file too large) goes to messages.
[[nodiscard]] MediaUploader ServerMediaUploader(RequestLogin& login, MessageBoxes& messages);

}  // namespace vantic
