#include "app/about_box.h"

#include "app/splash.h"
#include "app/wapp.h"
#include "core/cpstring.h"
#include "core/product_identity.h"
#include "framework/missing_helper.h"

namespace vantic {

AboutForm OpenAboutForm(const WApp& app) {
    const std::string title(app.TitleText());
    const std::string web(app.WebAddress());
    AboutForm form;
    form.title = FormatNew("%s - %s", title.c_str(), web.c_str());
    form.buildLabel = std::string(identity::kBuildLabel);
    form.buildCode = std::string(app.BuildCode());
    form.maker = std::string(app.CompanyName());
    form.emailLine = SalesAddress();
    form.webAddressLine = web;
    form.telephoneLine = std::string(identity::kTelephoneLine);
    form.thanks = std::string(identity::kThanksLine);
    form.pictureId = picture::kAbout;
    return form;
}

std::string SalesAddress() {
    return std::string(identity::kSalesAddress);
}

MailDraft SalesInquiry() {
    MailDraft draft;
    draft.subject = "I have a sales inquiry...";
    draft.recipientName = std::string(identity::kSalesManager);
    draft.recipientAddress = "SMTP:" + SalesAddress();
    return draft;
}

void AboutLinks::OpenWebAddress(WindowId box) {
    // Without a scheme the desktop takes the address for a file name.
    std::string address(app_.WebAddress());
    if (address.find("://") == std::string::npos) {
        address.insert(0, "https://");
    }
    // A site that will not open is not reported.
    if (!shell_.Open(address, "")) {
        (void)ReportMissingHelper(messages_, box, "The web site could not be opened",
                                  shell_.Missing());
    }
}

void AboutLinks::ComposeSalesInquiry(WindowId box) {
    // Without a mail program nothing happens.
    if (!mail_.Compose(SalesInquiry())) {
        (void)ReportMissingHelper(messages_, box, "The mail program could not be started",
                                  mail_.Missing());
    }
}

}  // namespace vantic
