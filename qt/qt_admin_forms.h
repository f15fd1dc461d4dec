#pragma once

// The administration commands' forms on Qt: "Set Crawl Text", "Admin
// Configuration Editor", "Set Time Zone" and "Enter New Unit Owner". Each is
// a modal dialog bound to its form value; OK hands the value to the
// command's check and closes only when it agrees.

#include "units/admin_forms.h"

namespace vantic {

// Item ids of the forms' boxes, for tests and the screenshot hook.
namespace admin_item {
inline constexpr int kCrawlText = 1030;
inline constexpr int kCrawlRefresh = 1031;
inline constexpr int kAdminConfigText = 1032;
inline constexpr int kOwnerName = 1033;
inline constexpr int kFirstTimeZone = 1040;  // then one id per choice, in table order
}  // namespace admin_item

class QtAdminFormsView final : public AdminFormsView {
  public:
    bool RunCrawlForm(WindowId owner, CrawlForm& form, const FormCheck<CrawlForm>& onOk) override;
    bool RunAdminConfigForm(WindowId owner, AdminConfigForm& form,
                            const FormCheck<AdminConfigForm>& onOk) override;
    bool RunTimezoneForm(WindowId owner, TimezoneForm& form,
                         const FormCheck<TimezoneForm>& onOk) override;
    bool RunOwnerForm(WindowId owner, OwnerForm& form, const FormCheck<OwnerForm>& onOk) override;
};

}  // namespace vantic
