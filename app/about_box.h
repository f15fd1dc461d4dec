#pragma once

// The About box: the product's picture, its build code and the maker's
// contact lines. The web-address line opens the maker's site; the e-mail
// line starts a sales inquiry in the user's mail program.

#include <string>

#include "platform/mail.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "platform/window.h"

namespace vantic {

class WApp;

struct AboutForm {
    std::string title;       // "Vantic Controller 4.1 - www..."
    std::string buildLabel;  // stands before the build code
    std::string buildCode;
    std::string maker;
    std::string emailLine;       // drawn blue; a click composes a message
    std::string webAddressLine;  // drawn blue and underlined; a click opens the site
    std::string telephoneLine;
    std::string thanks;
    int pictureId = 0;
};

[[nodiscard]] AboutForm OpenAboutForm(const WApp& app);

// The maker's sales address and the message a click on the e-mail line
// starts.
[[nodiscard]] std::string SalesAddress();
[[nodiscard]] MailDraft SalesInquiry();

// What the About box's two links do. A link that fails for want of a
// desktop helper says so over box, the About box; other failures of the
// site or the mail program are not reported.
class AboutLinks {
  public:
    AboutLinks(const WApp& app, ShellLauncher& shell, MailClient& mail, MessageBoxes& messages)
        : app_(app), shell_(shell), mail_(mail), messages_(messages) {}
    void OpenWebAddress(WindowId box);
    void ComposeSalesInquiry(WindowId box);

  private:
    const WApp& app_;
    ShellLauncher& shell_;
    MailClient& mail_;
    MessageBoxes& messages_;
};

class AboutView {
  public:
    virtual ~AboutView() = default;
    // Modal over owner until OK or Cancel; clicks on the links go to links.
    virtual void RunAboutBox(WindowId owner, const AboutForm& form, AboutLinks& links) = 0;
};

}  // namespace vantic
