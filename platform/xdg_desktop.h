#pragma once

// The shell and the mail program on a freedesktop system, through the
// xdg-open and xdg-email helpers.

#include "platform/mail.h"
#include "platform/shell.h"

namespace vantic {

class XdgShell final : public ShellLauncher {
  public:
    bool Open(const std::string& target, const std::string& parameters) override;
    [[nodiscard]] ProgramStart StartProgram(const std::string& program,
                                            const std::string& parameters) override;
    [[nodiscard]] std::optional<MissingHelper> Missing() const override;
};

// xdg-open as a missing helper when it is not on the PATH.
[[nodiscard]] std::optional<MissingHelper> MissingXdgOpen();

class XdgMail final : public MailClient {
  public:
    [[nodiscard]] bool Available() const override;
    bool SendDocument(WindowId owner, const std::string& path,
                      const std::string& attachmentName) override;
    bool Compose(const MailDraft& draft) override;
    [[nodiscard]] std::optional<MissingHelper> Missing() const override;
};

}  // namespace vantic
