#include "tools/vanticctl/ctl_admin_forms.h"

namespace vantic::ctl {

bool ConsoleAdminForms::RunCrawlForm(WindowId owner, CrawlForm& form,
                                     const FormCheck<CrawlForm>& onOk) {
    if (!answers_.crawlText) {
        return false;
    }
    form.text = *answers_.crawlText;
    if (answers_.crawlRefresh) {
        form.refresh = *answers_.crawlRefresh;
    }
    return onOk(form, owner);
}

bool ConsoleAdminForms::RunAdminConfigForm(WindowId owner, AdminConfigForm& form,
                                           const FormCheck<AdminConfigForm>& onOk) {
    form.text = answers_.adminConfig;
    return onOk(form, owner);
}

bool ConsoleAdminForms::RunTimezoneForm(WindowId owner, TimezoneForm& form,
                                        const FormCheck<TimezoneForm>& onOk) {
    form.zone = answers_.zone;
    return onOk(form, owner);
}

bool ConsoleAdminForms::RunOwnerForm(WindowId owner, OwnerForm& form,
                                     const FormCheck<OwnerForm>& onOk) {
    form.text = answers_.owner;
    return onOk(form, owner);
}

}  // namespace vantic::ctl
