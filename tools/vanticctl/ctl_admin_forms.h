#pragma once

// The administration forms on a console: each form is filled from the
// command line and OK is pressed once. A form the command refuses (an
// interval out of range, an empty owner) counts as cancelled, since there
// is nobody to correct it. There is no form window: the check is told the
// owner's.

#include <optional>
#include <string>

#include "platform/file_dialog.h"
#include "units/admin_commands.h"

namespace vantic::ctl {

struct AdminAnswers {
    std::optional<std::string> crawlText;
    std::optional<std::string> crawlRefresh;  // none: the form's own value
    std::string adminConfig;
    TimeZone zone = TimeZone::Central;
    std::string owner;
};

class ConsoleAdminForms final : public AdminFormsView {
  public:
    explicit ConsoleAdminForms(AdminAnswers answers) : answers_(std::move(answers)) {}
    bool RunCrawlForm(WindowId owner, CrawlForm& form, const FormCheck<CrawlForm>& onOk) override;
    bool RunAdminConfigForm(WindowId owner, AdminConfigForm& form,
                            const FormCheck<AdminConfigForm>& onOk) override;
    bool RunTimezoneForm(WindowId owner, TimezoneForm& form,
                         const FormCheck<TimezoneForm>& onOk) override;
    bool RunOwnerForm(WindowId owner, OwnerForm& form, const FormCheck<OwnerForm>& onOk) override;

  private:
    AdminAnswers answers_;
};

// The file chooser answered from the command line.
class ChosenFile final : public FileDialogs {
  public:
    explicit ChosenFile(std::optional<std::string> path) : path_(std::move(path)) {}
    [[nodiscard]] std::optional<std::string> RunOpenDialog(const FileDialogRequest&) override {
        return path_;
    }
    [[nodiscard]] std::optional<std::string> RunSaveDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }

  private:
    std::optional<std::string> path_;
};

}  // namespace vantic::ctl
