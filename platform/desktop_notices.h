#pragma once

// Notices the desktop shows outside the program's windows (the tray icon's
// balloon, a notification bubble): news the operator did not ask for,
// which must not stop what the operator is doing.

#include <string>

namespace vantic {

struct DesktopNotice {
    std::string title;
    std::string text;  // lines joined with LF

    bool operator==(const DesktopNotice&) const = default;
};

class DesktopNotices {
  public:
    virtual ~DesktopNotices() = default;
    // Shows the notice without waiting for it; any thread may call. A
    // desktop that shows no notices drops it.
    virtual void Notify(const DesktopNotice& notice) = 0;
};

}  // namespace vantic
