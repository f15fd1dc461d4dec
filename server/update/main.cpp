// vantic-update-server --root DIR --cert CERT.pem --key KEY.pem
//                      [--listen HOST:PORT] [--log FILE] [--fault MODE[:SUFFIX]]...

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "server/update/update_server.h"

namespace {

constexpr const char* kUsage =
    "usage: vantic-update-server --root DIR --cert CERT.pem --key KEY.pem\n"
    "                            [--listen HOST:PORT] [--log FILE] [--fault MODE[:SUFFIX]]...\n"
    "\n"
    "Serves DIR over HTTPS (DIR/downloads/update1.sig, DIR/downloads/update1.exe).\n"
    "  --listen  address to listen on (default 127.0.0.1:0, any free port)\n"
    "  --log     append one line per request to FILE\n"
    "  --fault   answer wrongly: garbage, truncate, stall or status (404 with a body),\n"
    "            for every request or only paths ending with SUFFIX\n";

bool ParseListen(std::string_view text, vantic::update_server::Options& options) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return false;
    }
    options.host = std::string(text.substr(0, colon));
    options.port = std::atoi(std::string(text.substr(colon + 1)).c_str());
    return options.port >= 0 && options.port <= 65535;
}

bool ParseArguments(int argc, char** argv, vantic::update_server::Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const std::string value = argv[i + 1];
        vantic::update_server::FaultRule rule;
        if (name == "--root") {
            options.root = value;
        } else if (name == "--cert") {
            options.certificate = value;
        } else if (name == "--key") {
            options.privateKey = value;
        } else if (name == "--log") {
            options.logPath = value;
        } else if (name == "--listen") {
            if (!ParseListen(value, options)) {
                return false;
            }
        } else if (name == "--fault" && vantic::update_server::ParseFaultRule(value, rule)) {
            options.faults.push_back(rule);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && !options.root.empty() && !options.certificate.empty() &&
           !options.privateKey.empty();
}

}  // namespace

int main(int argc, char** argv) {
    vantic::update_server::Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return vantic::update_server::Serve(options);
}
