#include "tools/vanticctl/ctl_access.h"

#include <iostream>
#include <iterator>

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "framework/program_path.h"
#include "framework/wreg.h"
#include "net/login_block.h"
#include "net/login_settings.h"
#include "net/rsa_key.h"
#include "net/server_address.h"
#include "units/wreg_login_store.h"

namespace vantic::ctl {
namespace {

// The settings store's rule: a value too long for its buffer reads as empty.
std::string Fitting(std::string value, std::size_t room) {
    return value.size() >= room ? std::string() : value;
}

LoginSettings FromRecord(const cpConfig& record) {
    LoginSettings settings;
    settings.server = Fitting(record.Get(kServerKey), kServerRoom);
    settings.user = Fitting(record.Get(kLoginNameKey), kLoginNameRoom);
    if (LeadingInteger(record.Get(kRememberPasswordKey, "0")) != 0) {
        settings.password = Fitting(record.Get(kPasswordKey), kPasswordRoom);
    }
    return settings;
}

// The values the controller starts with.
LoginSettings FromStore() {
    WReg store;
    WRegLoginStore keys(store);
    vantic::LoginSettings stored(keys, {});
    return {stored.ServerHost(), stored.ServerLoginName(), stored.ServerPassword()};
}

// The first line of the file ("-": standard input), without its line end.
std::optional<std::string> ReadPasswordFile(const std::string& path) {
    std::optional<std::string> text;
    if (path == "-") {
        text = std::string(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        text = ReadWholeFile(path);
    }
    if (!text) {
        return std::nullopt;
    }
    return text->substr(0, text->find_first_of("\r\n"));
}

std::string Missing(const char* what, const char* option, std::string_view key) {
    return FormatNew("no %s: give %s or set \"%s\" in config.ini", what, option,
                     std::string(key).c_str());
}

}  // namespace

std::optional<LoginSettings> ReadLoginSettings(const std::optional<std::string>& configFile) {
    if (!configFile) {
        return FromStore();
    }
    std::optional<std::string> text = ReadWholeFile(*configFile);
    if (!text) {
        return std::nullopt;
    }
    return FromRecord(cpConfig::FromText(*text));
}

AccessResult ResolveAccess(const CtlOptions& options) {
    std::optional<LoginSettings> settings = ReadLoginSettings(options.configFile);
    if (!settings) {
        return {std::nullopt, "cannot read the settings file " + *options.configFile};
    }
    ServerAccess access;
    access.host = options.server.value_or(settings->server);
    // The server knows only the lower-case name; config.ini keeps it as typed.
    access.loginName = options.user.value_or(settings->user);
    ToLower(access.loginName);
    access.password = settings->password;
    if (options.passwordFile) {
        std::optional<std::string> password = ReadPasswordFile(*options.passwordFile);
        if (!password) {
            return {std::nullopt, "cannot read the password file " + *options.passwordFile};
        }
        access.password = *password;
    }
    access.keyFilePath = options.keyFile.value_or(
        FindInstalledFile("p.key").value_or(ProgramFilePath("p.key").value_or("p.key")));

    if (access.host.empty()) {
        return {std::nullopt, Missing("server", "--server HOST[:PORT]", kServerKey)};
    }
    if (!ParseServerAddress(access.host)) {
        return {std::nullopt,
                "the server address \"" + access.host + "\" is not HOST or HOST:PORT"};
    }
    if (access.loginName.empty()) {
        return {std::nullopt, Missing("login name", "--user NAME", kLoginNameKey)};
    }
    if (access.password.empty()) {
        return {std::nullopt,
                "no password: give --password-file FILE (config.ini holds one only when it is "
                "remembered)"};
    }
    if (!LoginFieldsFit(access.loginName, access.password)) {
        return {std::nullopt, "the login name and the password may have at most 23 characters"};
    }
    if (!LoadServerKey(access.keyFilePath)) {
        return {std::nullopt, "cannot read the server key " + access.keyFilePath +
                                  " (give its place with --key FILE)"};
    }
    return {std::move(access), {}};
}

}  // namespace vantic::ctl
