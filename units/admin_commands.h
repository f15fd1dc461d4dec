#pragma once

// The unit administration commands of the Deploy menu: crawl text, free
// settings, new firmware and a new time zone go to the selected units as a
// settings change list through Deploy; a new owner rewrites the server's
// owner table. Files a unit must fetch (crawl text, firmware) travel as
// media, and the setting names their content. The application and
// vanticctl run these same routines, each with its own views.

#include <functional>
#include <optional>
#include <string_view>

#include "platform/file_dialog.h"
#include "units/admin_forms.h"
#include "units/deploy.h"

namespace vantic {

// The integer settings of the controller's settings store.
class IntSettings {
  public:
    virtual ~IntSettings() = default;
    [[nodiscard]] virtual int GetInt(std::string_view key, int fallback) = 0;
    virtual void SetInt(std::string_view key, int value) = 0;
};

// A store with the same operations, such as WReg.
template <class Store>
class IntSettingsOf final : public IntSettings {
  public:
    explicit IntSettingsOf(Store& store) : store_(store) {}
    [[nodiscard]] int GetInt(std::string_view key, int fallback) override {
        return store_.GetInt(key, fallback);
    }
    void SetInt(std::string_view key, int value) override { (void)store_.SetInt(key, value); }

  private:
    Store& store_;
};

// What the commands work with. The references must outlive the calls.
struct AdminContext {
    DeployContext& deploy;  // the units, their selection and lock, the login, messages
    AdminFormsView& forms;
    FileDialogs& files;  // the firmware chooser
    IntSettings& settings;
    std::function<void()> refreshUnits;  // after a new owner: a background refresh
};

// How a command ended: none when it ended before anything was deployed
// (cancelled, or a failure that is not reported); else what Deploy made of it.
using AdminResult = std::optional<DeployResult>;

// "Crawl Text To Selected Units...": the form pre-filled from crawl.dat and
// Last_Crawl_Refresh; OK writes crawl.dat, uploads it and checks the
// interval before it closes.
AdminResult SetCrawlText(AdminContext& context);
// "Admin Config Modify Selected Units...": typed key=value lines.
AdminResult EditAdminConfig(AdminContext& context);
// "New Firmware to Selected Units...": a .tgz archive, uploaded first. The
// caller has made sure of the login.
AdminResult SendNewFirmware(AdminContext& context);
// "New Timzone to Selected Units...".
AdminResult SendNewTimezone(AdminContext& context);

enum class OwnerResult {
    Stored,        // the server took the new table
    Ended,         // no table to change, or the form was cancelled
    NotConfirmed,  // "yes" was not typed: nothing uploaded
    NotStored,     // the upload failed (not reported)
};

// "New Owner to Selected Units...": the owner of every selected unit but
// unit 1 in the server's owner table. The caller has made sure of the login.
OwnerResult SetNewOwner(AdminContext& context);

// Where crawl.dat lives: with the program's other written files (beside
// it, or in the user's folder when it is installed).
[[nodiscard]] std::string CrawlFilePath();

}  // namespace vantic
