#include "tests/server/live_server.h"

#include <chrono>
#include <ctime>
#include <sstream>
#include <thread>

#include "server/seed.h"

namespace vantic::testing {

namespace {

constexpr std::uint32_t kTestHashIterations = 1000;

}  // namespace

LiveServer::LiveServer(server::ServeOptions options) {
    dataDir_ = root_.File("data");
    std::optional<std::vector<server::SeededAccount>> accounts =
        server::SeedDemo(dataDir_, std::time(nullptr), error_, kTestHashIterations);
    if (!accounts) {
        return;
    }
    accounts_ = std::move(*accounts);
    options.dataDir = dataDir_;
    options.listen = server::ListenAddress{"127.0.0.1", 0};
    options.faultFile = root_.File("faults.txt");
    options.durable = false;
    options.hashIterations = kTestHashIterations;
    server_ = server::Server::Start(options, error_);
}

LiveServer::~LiveServer() {
    Stop();
}

void LiveServer::Stop() {
    if (server_) {
        server_->Stop();
    }
}

std::uint16_t LiveServer::Port() const {
    return server_ ? server_->Bound().port : 0;
}

WireClient LiveServer::AdminClient(double timeoutSeconds) const {
    return WireClient("127.0.0.1", Port(), KeyFile(), Administrator().login,
                      Administrator().password, timeoutSeconds);
}

WireClient LiveServer::OperatorClient(double timeoutSeconds) const {
    return WireClient("127.0.0.1", Port(), KeyFile(), Operator().login, Operator().password,
                      timeoutSeconds);
}

bool LiveServer::SetFaults(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& fault : faults) {
        text += fault + "\n";
    }
    const std::string temp = root_.File("faults.new");
    return WriteFileBytes(temp, text) &&
           std::rename(temp.c_str(), root_.File("faults.txt").c_str()) == 0;
}

std::vector<std::string> LiveServer::LogLines(const std::vector<std::string>& needles) {
    std::vector<std::string> lines;
    std::istringstream text(ReadFileBytes(dataDir_ + "/server.log"));
    for (std::string line; std::getline(text, line);) {
        bool all = true;
        for (const std::string& needle : needles) {
            all = all && line.find(needle) != std::string::npos;
        }
        if (all) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace vantic::testing

namespace vantic::testing {

std::vector<std::string> LiveServer::AwaitLog(const std::vector<std::string>& needles,
                                              std::size_t count, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    std::vector<std::string> lines = LogLines(needles);
    while (lines.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lines = LogLines(needles);
    }
    return lines;
}

}  // namespace vantic::testing
