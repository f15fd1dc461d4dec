#include "platform/xdg_desktop.h"

#include "core/cpstring.h"
#include "platform/spawn.h"

namespace vantic {

bool XdgShell::Open(const std::string& target, const std::string& parameters) {
    if (target.empty()) {
        return false;
    }
    if (parameters.empty()) {
        return SpawnDetached({"xdg-open", target});
    }
    std::vector<std::string> argv{target};
    for (std::string& piece : SplitParameters(parameters)) {
        argv.push_back(std::move(piece));
    }
    return SpawnDetached(argv);
}

ProgramStart XdgShell::StartProgram(const std::string& program, const std::string& parameters) {
    return SpawnProgram(program, parameters);
}

namespace {

constexpr const char* kXdgPackage = "xdg-utils";

std::optional<MissingHelper> MissingProgram(const char* program) {
    if (ProgramOnPath(program)) {
        return std::nullopt;
    }
    return MissingHelper{program, kXdgPackage};
}

}  // namespace

std::optional<MissingHelper> MissingXdgOpen() {
    return MissingProgram("xdg-open");
}

std::optional<MissingHelper> XdgShell::Missing() const {
    return MissingXdgOpen();
}

std::optional<MissingHelper> XdgMail::Missing() const {
    return MissingProgram("xdg-email");
}

bool XdgMail::Available() const {
    return ProgramOnPath("xdg-email");
}

bool XdgMail::SendDocument(WindowId /*owner*/, const std::string& path,
                           const std::string& /*attachmentName*/) {
    // xdg-email attaches the file under its own name; the callers name the
    // file as the attachment should be called.
    return SpawnDetached({"xdg-email", "--attach", path});
}

bool XdgMail::Compose(const MailDraft& draft) {
    std::string address = draft.recipientAddress;
    if (StartsWithNoCase(address, "SMTP:")) {
        address.erase(0, 5);
    }
    std::vector<std::string> argv{"xdg-email"};
    if (!draft.subject.empty()) {
        argv.insert(argv.end(), {"--subject", draft.subject});
    }
    if (!address.empty()) {
        argv.push_back(address);
    }
    return SpawnDetached(argv);
}

}  // namespace vantic
