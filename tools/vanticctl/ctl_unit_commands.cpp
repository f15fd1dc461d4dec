// unit show and unit set: one unit's settings as the unit editor sees them,
// and changes made through the editor's own form and change list.

#include <charconv>
#include <iostream>

#include "core/cpstring.h"
#include "net/payload_exchange.h"
#include "platform/console_platform.h"
#include "platform/system_clock.h"
#include "tools/vanticctl/ctl_handlers.h"
#include "units/load_unit_settings.h"
#include "units/unit_editor_form.h"

namespace vantic::ctl {
namespace {

CommandOutcome Fail(std::string error) {
    return {ExitStatus::Failure, std::move(error)};
}

std::optional<std::uint32_t> ParseUnit(const std::string& text) {
    std::uint32_t unit = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), unit);
    if (error != std::errc() || end != text.data() + text.size() || unit == 0 ||
        unit > 0x7FFFFFFFu) {
        return std::nullopt;
    }
    return unit;
}

// The unit's settings read the editor's way. A file that does not parse has
// been reported on standard error by then.
CommandOutcome LoadSettings(const Invocation& call, std::uint32_t unit, UnitSettings& settings) {
    bool downloadFailed = false;
    const InstructionFetch fetch = [&](std::uint32_t number,
                                       std::string& /*cause*/) -> std::optional<std::string> {
        const FetchResult reply = FetchPayload(*call.access, ServerCommand::GetInstructionFile,
                                               static_cast<std::int32_t>(number));
        if (reply.outcome == FetchOutcome::Ok) {
            return reply.Text();
        }
        if (reply.outcome == FetchOutcome::Absent) {
            return std::string();
        }
        downloadFailed = true;
        return std::nullopt;
    };
    ConsolePlatform platform(std::cerr, std::cin, false);
    if (LoadUnitSettings(platform.Messages(), kNoWindow, fetch, unit, settings)) {
        return {};
    }
    if (downloadFailed) {
        return Fail(kSettingsDownloadFailedText);
    }
    return Fail("unit " + std::to_string(unit) + "'s instruction file cannot be read");
}

// KEY=VALUE with a key; none otherwise.
std::optional<std::pair<std::string, std::string>> SplitSetting(const std::string& argument) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos) {
        return std::nullopt;
    }
    std::string key(TrimmedView(std::string_view(argument).substr(0, equals)));
    if (key.empty()) {
        return std::nullopt;
    }
    return std::pair(std::move(key), argument.substr(equals + 1));
}

// Settings the form does not show, in order, a later one of a key replacing
// an earlier one.
void AddExtra(EntryList& extras, const std::string& key, const std::string& value) {
    std::erase_if(extras, [&](const PlayEntry& entry) { return EqualsNoCase(entry.key, key); });
    extras.push_back(NewSettingEntry(key, value));
}

}  // namespace

CommandOutcome RunUnitShow(const Invocation& call) {
    const std::optional<std::uint32_t> unit = ParseUnit(call.arguments[0]);
    if (!unit) {
        return Fail("not a unit number: " + call.arguments[0]);
    }
    UnitSettings settings;
    if (CommandOutcome failed = LoadSettings(call, *unit, settings);
        failed.status != ExitStatus::Success) {
        return failed;
    }
    // The table's keys first; a default is marked after a tab, which no
    // stored value can hold.
    for (const SettingKey& row : SettingKeys()) {
        if (std::optional<std::string> value = settings.Find(row.key)) {
            call.output += std::string(row.key) + "=" + *value + "\n";
        } else if (row.fallback) {
            call.output +=
                std::string(row.key) + "=" + std::string(*row.fallback) + "\t(default)\n";
        }
    }
    const cpStringArray& lines = settings.Lines();
    for (std::size_t i = lines.Count(); i > 0; --i) {  // oldest first: file order
        const std::string_view line = lines.TextAt(i - 1);
        if (FindSettingKey(line.substr(0, line.find('='))) == nullptr) {
            call.output += std::string(line) + "\n";
        }
    }
    return {};
}

CommandOutcome RunUnitSet(const Invocation& call) {
    const std::optional<std::uint32_t> unit = ParseUnit(call.arguments[0]);
    if (!unit) {
        return Fail("not a unit number: " + call.arguments[0]);
    }
    std::vector<std::pair<std::string, std::string>> given;
    for (const std::string& argument : call.arguments.subspan(1)) {
        std::optional<std::pair<std::string, std::string>> setting = SplitSetting(argument);
        if (!setting) {
            return Fail("settings are given as KEY=VALUE, not " + argument);
        }
        given.push_back(std::move(*setting));
    }
    UnitSettings settings;
    if (CommandOutcome failed = LoadSettings(call, *unit, settings);
        failed.status != ExitStatus::Success) {
        return failed;
    }
    // The editor's form, opened on the unit and changed as an operator
    // would; keys it does not show go after its list.
    SystemClock clock;
    UnitForm form = OpenUnitForm(settings, call.arguments[0], clock.LocalNow());
    EntryList extras;
    for (const auto& [key, value] : given) {
        switch (SetUnitFormField(form, key, value)) {
            case FormFieldResult::Set:
                break;
            case FormFieldResult::NotAField:
                AddExtra(extras, key, value);
                break;
            case FormFieldResult::Invalid:
                return Fail(key + " cannot be " + value);
        }
    }
    EntryList changes = UnitFormChanges(form);
    std::move(extras.begin(), extras.end(), std::back_inserter(changes));
    return DeployOnConsole(
        call, {*unit}, DeployRequest::Settings(DeployTo::Unit(*unit), std::move(changes)).Quiet(),
        {});
}

}  // namespace vantic::ctl
