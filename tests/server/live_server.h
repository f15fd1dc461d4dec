#pragma once

// A seeded demo venue served in this process on a free loopback port,
// with a client logged in as the administrator or the operator.

#include <memory>
#include <string>
#include <vector>

#include "server/seed.h"
#include "server/server.h"
#include "tests/server/wire_client.h"
#include "tests/support/temp_dir.h"

namespace vantic::testing {

class LiveServer {
  public:
    // Seeds the venue (with cheap password hashes) and starts serving;
    // options.dataDir and listen are filled in here. Check Ok().
    explicit LiveServer(server::ServeOptions options = {});
    ~LiveServer();

    [[nodiscard]] bool Ok() const { return server_ != nullptr; }
    [[nodiscard]] const std::string& Error() const { return error_; }
    [[nodiscard]] std::uint16_t Port() const;
    [[nodiscard]] const std::string& DataDir() const { return dataDir_; }
    [[nodiscard]] std::string KeyFile() const { return dataDir_ + "/p.key"; }
    [[nodiscard]] const server::SeededAccount& Administrator() const { return accounts_.at(1); }
    [[nodiscard]] const server::SeededAccount& Operator() const { return accounts_.at(0); }
    [[nodiscard]] server::Store& Store() { return server_->GetStore(); }

    [[nodiscard]] WireClient AdminClient(double timeoutSeconds = 10) const;
    [[nodiscard]] WireClient OperatorClient(double timeoutSeconds = 10) const;

    // The control file's faults, obeyed from the next connection on.
    [[nodiscard]] bool SetFaults(const std::vector<std::string>& faults);
    // Log lines holding every one of the needles.
    [[nodiscard]] std::vector<std::string> LogLines(const std::vector<std::string>& needles = {});
    // The same, waiting up to seconds for at least count such lines: the
    // server writes a connection's line only after the connection ends.
    [[nodiscard]] std::vector<std::string> AwaitLog(const std::vector<std::string>& needles,
                                                    std::size_t count = 1, double seconds = 5);
    // Stops serving; the log is complete afterwards.
    void Stop();

  private:
    TempDir root_;
    std::string dataDir_;
    std::vector<server::SeededAccount> accounts_;
    std::unique_ptr<server::Server> server_;
    std::string error_;
};

}  // namespace vantic::testing
