#pragma once

// The form views for tests, one of each form, behaving as the real dialogs
// do: each queued answer edits the form and presses OK or Cancel, and an
// OK the caller's check refuses leaves the form open for the next answer.
// Every owner the form was opened over is recorded. A view opened with no
// answer queued fails the test.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "net/login_form.h"
#include "platform/window.h"
#include "playlist/clip_form.h"
#include "tests/support/scripted_form.h"
#include "units/admin_forms.h"
#include "units/confirm_form.h"
#include "units/unit_editor_form.h"

namespace vantic::testing {

// OK that the check refuses leaves the form open: the next answer runs.
template <class Form, class View>
class LoopingView : public View {
  protected:
    explicit LoopingView(std::string name) : script(std::move(name)) {}
    bool Loop(WindowId owner, Form& form, const std::function<bool(const Form&)>& onOk) {
        owners.push_back(owner);
        while (script.Run(form)) {
            if (onOk(form)) {
                return true;
            }
        }
        return false;
    }

  public:
    ScriptedForm<Form> script;
    std::vector<WindowId> owners;
};

class ScriptedLoginView final : public LoopingView<LoginForm, LoginFormView> {
  public:
    ScriptedLoginView() : LoopingView("login form") {}
    bool RunLoginForm(WindowId owner, LoginForm& form,
                      const std::function<bool(const LoginForm&)>& onOk) override {
        return Loop(owner, form, onOk);
    }
};

// The administration commands' four forms, each with its own script; the
// owners of every form opened are recorded in order. Each form tells its
// check that it is the window kFormWindow.
class ScriptedAdminForms final : public AdminFormsView {
  public:
    bool RunCrawlForm(WindowId owner, CrawlForm& form, const FormCheck<CrawlForm>& onOk) override {
        return Loop(owner, crawl, form, onOk);
    }
    bool RunAdminConfigForm(WindowId owner, AdminConfigForm& form,
                            const FormCheck<AdminConfigForm>& onOk) override {
        return Loop(owner, adminConfig, form, onOk);
    }
    bool RunTimezoneForm(WindowId owner, TimezoneForm& form,
                         const FormCheck<TimezoneForm>& onOk) override {
        return Loop(owner, timezone, form, onOk);
    }
    bool RunOwnerForm(WindowId owner, OwnerForm& form, const FormCheck<OwnerForm>& onOk) override {
        return Loop(owner, ownerForm, form, onOk);
    }

    ScriptedForm<CrawlForm> crawl{"crawl text form"};
    ScriptedForm<AdminConfigForm> adminConfig{"admin configuration form"};
    ScriptedForm<TimezoneForm> timezone{"time zone form"};
    ScriptedForm<OwnerForm> ownerForm{"owner form"};
    std::vector<WindowId> owners;
    inline static const WindowId kFormWindow = reinterpret_cast<WindowId>(std::uintptr_t{0xF0});

  private:
    template <class Form>
    bool Loop(WindowId owner, ScriptedForm<Form>& script, Form& form, const FormCheck<Form>& onOk) {
        owners.push_back(owner);
        while (script.Run(form)) {
            if (onOk(form, kFormWindow)) {
                return true;
            }
        }
        return false;
    }
};

class ScriptedConfirmView final : public LoopingView<ConfirmForm, ConfirmFormView> {
  public:
    ScriptedConfirmView() : LoopingView("confirmation form") {}
    bool RunConfirmForm(WindowId owner, ConfirmForm& form, const ConfirmCheck& onOk) override {
        return Loop(owner, form, onOk);
    }
    // The operator types text and presses OK.
    void Type(std::string text) {
        script.Queue([text](ConfirmForm& form) {
            form.typed = text;
            return true;
        });
    }
};

// The clip editor has no check of its own: OK closes it.
class ScriptedClipEditor final : public ClipFormView {
  public:
    bool RunClipEditor(WindowId owner, ClipForm& form) override {
        owners.push_back(owner);
        return script.Run(form);
    }
    ScriptedForm<ClipForm> script{"clip editor"};
    std::vector<WindowId> owners;
};

class ScriptedUnitEditor final : public UnitFormView {
  public:
    bool RunUnitEditor(WindowId owner, UnitForm& form) override {
        owners.push_back(owner);
        return script.Run(form);
    }
    ScriptedForm<UnitForm> script{"unit editor"};
    std::vector<WindowId> owners;
};

}  // namespace vantic::testing
