#pragma once

// The user's mail program. Both calls open a message for the user to
// complete and send; nothing is sent without the user.

#include <optional>
#include <string>

#include "platform/desktop_helper.h"

#include "platform/window.h"

namespace vantic {

struct MailDraft {
    std::string subject;
    std::string recipientName;
    std::string recipientAddress;  // a bare address; an "SMTP:" prefix is dropped
};

class MailClient {
  public:
    virtual ~MailClient() = default;
    // True when the mail program can be started; a caller that prepares a
    // file for it asks first, so nothing is written for a missing one.
    [[nodiscard]] virtual bool Available() const = 0;
    // A new message with one file attached and no recipient. attachmentName
    // is the name the file is shown under (the file's own name on systems
    // that cannot rename attachments).
    virtual bool SendDocument(WindowId owner, const std::string& path,
                              const std::string& attachmentName) = 0;
    virtual bool Compose(const MailDraft& draft) = 0;
    // The helper the mail program is started through when it is not
    // installed; none when it is.
    [[nodiscard]] virtual std::optional<MissingHelper> Missing() const { return std::nullopt; }
};

}  // namespace vantic
