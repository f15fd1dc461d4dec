#include "tools/vanticctl/ctl_options.h"

#include <array>
#include <string_view>

namespace vantic::ctl {
namespace {

struct ValueOption {
    std::string_view name;
    std::optional<std::string> CtlOptions::*field;
};

constexpr std::array<ValueOption, 5> kValueOptions = {{
    {"--server", &CtlOptions::server},
    {"--user", &CtlOptions::user},
    {"--password-file", &CtlOptions::passwordFile},
    {"--key", &CtlOptions::keyFile},
    {"--config", &CtlOptions::configFile},
}};

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
        if (argument == "--help" || argument == "-h") {
            line.options.help = true;
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

}  // namespace vantic::ctl
