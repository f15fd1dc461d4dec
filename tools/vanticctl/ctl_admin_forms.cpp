#include "tools/vanticctl/ctl_admin_forms.h"

#include <algorithm>

namespace vantic::ctl {

bool ConsoleAdminForms::RunCrawlForm(WindowId /*owner*/, CrawlForm& form,
                                     const FormCheck<CrawlForm>& onOk) {
    if (!answers_.crawlText) {
        return false;
    }
    form.text = *answers_.crawlText;
    if (answers_.crawlRefresh) {
        form.refresh = *answers_.crawlRefresh;
    }
    return onOk(form);
}

bool ConsoleAdminForms::RunAdminConfigForm(WindowId /*owner*/, AdminConfigForm& form,
                                           const FormCheck<AdminConfigForm>& onOk) {
    form.text = answers_.adminConfig;
    return onOk(form);
}

bool ConsoleAdminForms::RunTimezoneForm(WindowId /*owner*/, TimezoneForm& form,
                                        const FormCheck<TimezoneForm>& onOk) {
    form.zone = answers_.zone;
    return onOk(form);
}

bool ConsoleAdminForms::RunOwnerForm(WindowId /*owner*/, OwnerForm& form,
                                     const FormCheck<OwnerForm>& onOk) {
    form.text = answers_.owner;
    return onOk(form);
}

int OneRunSettings::GetInt(std::string_view key, int fallback) {
    auto found = std::find_if(values_.begin(), values_.end(),
                              [key](const auto& value) { return value.first == key; });
    return found == values_.end() ? fallback : found->second;
}

void OneRunSettings::SetInt(std::string_view key, int value) {
    auto found = std::find_if(values_.begin(), values_.end(),
                              [key](const auto& entry) { return entry.first == key; });
    if (found == values_.end()) {
        values_.emplace_back(std::string(key), value);
    } else {
        found->second = value;
    }
}

}  // namespace vantic::ctl
