// crawl, admin-config, firmware, timezone and owner: the controller's
// administration commands on a console, with their forms filled from the
// command line.

#include <algorithm>
#include <initializer_list>

#include "core/cpstring.h"
#include "framework/wreg.h"
#include "net/login_settings.h"
#include "tools/vanticctl/ctl_admin_forms.h"
#include "tools/vanticctl/ctl_console_deploy.h"
#include "tools/vanticctl/ctl_handlers.h"

namespace vantic::ctl {
namespace {

CommandOutcome Fail(std::string error) {
    return {ExitStatus::Failure, std::move(error)};
}

enum class Extra { TextFile, Refresh, File };

// The options of deploy, settings and the other administration commands
// that this command does not take; empty when none is given.
std::string ForeignOption(const CtlOptions& options, std::initializer_list<Extra> allowed) {
    auto allows = [&](Extra extra) {
        return std::find(allowed.begin(), allowed.end(), extra) != allowed.end();
    };
    if (options.playlist || options.channel) {
        return "--playlist and --channel";
    }
    if (options.textFile && !allows(Extra::TextFile)) {
        return "--text-file";
    }
    if (options.refresh && !allows(Extra::Refresh)) {
        return "--refresh";
    }
    if (options.file && !allows(Extra::File)) {
        return "--file";
    }
    return {};
}

// One administration command on the console parts, with the forms
// answered from the command line. The controller's settings store keeps
// what the command remembers between uses (Last_Crawl_Refresh), for the
// controller too.
class ConsoleAdmin {
  public:
    ConsoleAdmin(const Invocation& call, AdminAnswers answers,
                 std::optional<std::string> chosenFile = std::nullopt)
        : deployer_(call, {}, true),
          forms_(std::move(answers)),
          files_(std::move(chosenFile)),
          context_{deployer_.Context(), forms_, files_, settings_, {}} {}

    [[nodiscard]] const std::string& Error() const { return deployer_.Error(); }
    [[nodiscard]] AdminContext& Context() { return context_; }

  private:
    ConsoleDeployer deployer_;
    ConsoleAdminForms forms_;
    ChosenFile files_;
    WReg store_;
    IntSettingsOf<WReg> settings_{store_};
    AdminContext context_;
};

CommandOutcome Finish(const AdminResult& result) {
    if (!result) {
        return Fail("nothing was deployed");
    }
    return ReportDeploy(*result);
}

// Who may use a command: the controller shows the firmware, owner and
// admin-config commands to the administrator alone.
enum class Who { AnyLogin, Administrator };

bool Offered(const Invocation& call, Who who) {
    return who == Who::AnyLogin || IsAdministratorLogin(call.access->loginName);
}

// Checks the options and who may use the command, then runs it on the
// console parts.
template <class Command>
CommandOutcome RunAdmin(const Invocation& call, Who who, std::initializer_list<Extra> allowed,
                        AdminAnswers answers, std::optional<std::string> chosenFile,
                        Command command) {
    if (std::string foreign = ForeignOption(call.options, allowed); !foreign.empty()) {
        return Fail("this command takes no " + foreign);
    }
    if (!Offered(call, who)) {
        return Fail("only the administrator may use this command");
    }
    ConsoleAdmin admin(call, std::move(answers), std::move(chosenFile));
    if (!admin.Error().empty()) {
        return Fail(admin.Error());
    }
    return command(admin.Context());
}

}  // namespace

CommandOutcome RunCrawl(const Invocation& call) {
    const CtlOptions& options = call.options;
    if (!options.textFile) {
        return Fail("crawl needs --text-file F");
    }
    AdminAnswers answers;
    answers.crawlText = ReadWholeFile(*options.textFile);
    if (!answers.crawlText) {
        return Fail("cannot read " + *options.textFile);
    }
    answers.crawlRefresh = options.refresh;
    return RunAdmin(call, Who::AnyLogin, {Extra::TextFile, Extra::Refresh}, std::move(answers),
                    std::nullopt,
                    [](AdminContext& context) { return Finish(SetCrawlText(context)); });
}

CommandOutcome RunAdminConfig(const Invocation& call) {
    if (!call.options.file) {
        return Fail("admin-config needs --file F");
    }
    AdminAnswers answers;
    std::optional<std::string> text = ReadWholeFile(*call.options.file);
    if (!text) {
        return Fail("cannot read " + *call.options.file);
    }
    if (text->empty()) {
        return Fail(*call.options.file + " is empty");
    }
    answers.adminConfig = std::move(*text);
    return RunAdmin(call, Who::Administrator, {Extra::File}, std::move(answers), std::nullopt,
                    [](AdminContext& context) { return Finish(EditAdminConfig(context)); });
}

CommandOutcome RunFirmware(const Invocation& call) {
    const std::string& path = call.arguments[0];
    if (!FileSize(path)) {
        return Fail("cannot read " + path);
    }
    return RunAdmin(call, Who::Administrator, {}, {}, path,
                    [](AdminContext& context) { return Finish(SendNewFirmware(context)); });
}

CommandOutcome RunTimezone(const Invocation& call) {
    AdminAnswers answers;
    const std::optional<TimeZone> zone = TimeZoneNamed(call.arguments[0]);
    if (!zone) {
        return Fail("the time zone is one of Eastern, Central, Mountain, Pacific, Alaska, Hawaii");
    }
    answers.zone = *zone;
    return RunAdmin(call, Who::AnyLogin, {}, std::move(answers), std::nullopt,
                    [](AdminContext& context) { return Finish(SendNewTimezone(context)); });
}

CommandOutcome RunOwner(const Invocation& call) {
    AdminAnswers answers;
    answers.owner = call.arguments[0];
    if (OwnerNameFrom(answers.owner).empty()) {
        return Fail("the owner name holds nothing but blanks");
    }
    return RunAdmin(call, Who::Administrator, {}, std::move(answers), std::nullopt,
                    [](AdminContext& context) {
                        switch (SetNewOwner(context)) {
                            case OwnerResult::Stored:
                                return CommandOutcome{};
                            case OwnerResult::Ended:
                                return Fail("could not get the owner table from the server");
                            case OwnerResult::NotConfirmed:
                                return Fail("the new owner was not confirmed");
                            case OwnerResult::NotStored:
                                break;
                        }
                        return Fail("the server did not take the owner table");
                    });
}

}  // namespace vantic::ctl
