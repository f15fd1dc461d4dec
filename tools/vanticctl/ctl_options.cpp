#include "tools/vanticctl/ctl_options.h"

#include <array>
#include <charconv>
#include <string_view>

#include "core/cpstring.h"

namespace vantic::ctl {
namespace {

struct ValueOption {
    std::string_view name;
    std::optional<std::string> CtlOptions::*field;
};

constexpr std::array<ValueOption, 19> kValueOptions = {{
    {"--server", &CtlOptions::server},
    {"--user", &CtlOptions::user},
    {"--password-file", &CtlOptions::passwordFile},
    {"--key", &CtlOptions::keyFile},
    {"--config", &CtlOptions::configFile},
    {"--playlist", &CtlOptions::playlist},
    {"--channel", &CtlOptions::channel},
    {"--units", &CtlOptions::units},
    {"--match", &CtlOptions::match},
    {"--group", &CtlOptions::group},
    {"--text-file", &CtlOptions::textFile},
    {"--refresh", &CtlOptions::refresh},
    {"--file", &CtlOptions::file},
    {"--from", &CtlOptions::from},
    {"--to", &CtlOptions::to},
    {"--out", &CtlOptions::out},
    {"--date", &CtlOptions::date},
    {"--chart", &CtlOptions::chart},
    {"--statement", &CtlOptions::statement},
}};

struct FlagOption {
    std::string_view name;
    bool CtlOptions::*field;
};

constexpr std::array<FlagOption, 7> kFlagOptions = {{
    {"--help", &CtlOptions::help},
    {"--version", &CtlOptions::version},
    {"-h", &CtlOptions::help},
    {"--all", &CtlOptions::all},
    {"--yes", &CtlOptions::yes},
    {"--dry-run", &CtlOptions::dryRun},
    {"--count", &CtlOptions::count},
}};

const FlagOption* FindFlag(std::string_view name) {
    for (const FlagOption& flag : kFlagOptions) {
        if (flag.name == name) {
            return &flag;
        }
    }
    return nullptr;
}

const ValueOption* FindOption(std::string_view name) {
    for (const ValueOption& option : kValueOptions) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            line.words.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (const FlagOption* flag = FindFlag(argument)) {
            line.options.*flag->field = true;
            continue;
        }
        std::size_t equals = argument.find('=');
        const ValueOption* option = FindOption(argument.substr(0, equals));
        if (option == nullptr) {
            line.error = "unknown option " + std::string(argument);
            return line;
        }
        if (equals != std::string_view::npos) {
            line.options.*option->field = std::string(argument.substr(equals + 1));
        } else if (i + 1 < arguments.size()) {
            line.options.*option->field = arguments[++i];
        } else {
            line.error = "option " + std::string(argument) + " needs a value";
            return line;
        }
    }
    return line;
}

std::optional<std::uint32_t> ParseUnitNumber(std::string_view text) {
    text = TrimmedView(text);
    std::uint32_t unit = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), unit);
    if (error != std::errc() || end != text.data() + text.size() || unit == 0) {
        return std::nullopt;
    }
    return unit;
}

}  // namespace vantic::ctl
