#pragma once

// Runs vantic-update-server for a test: a self-signed certificate made with
// the openssl command, a folder of update files the test publishes into,
// "vantic-update-server" on a free loopback port, stopped when the runner
// goes away. Every wait is bounded.
//
//   vantic::testing::UpdateServerRunner server({"stall:.exe"});
//   ASSERT_TRUE(server.Ok()) << server.Error();
//   server.Publish("update1.exe", program);
//   settings "Update_Server" = server.Address()

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace vantic::testing {

class UpdateServerRunner {
  public:
    // faults: each passed as --fault MODE[:SUFFIX].
    explicit UpdateServerRunner(std::vector<std::string> faults = {});
    ~UpdateServerRunner();
    UpdateServerRunner(const UpdateServerRunner&) = delete;
    UpdateServerRunner& operator=(const UpdateServerRunner&) = delete;

    [[nodiscard]] bool Ok() const { return pid_ > 0 && !address_.empty(); }
    [[nodiscard]] const std::string& Error() const { return error_; }
    // "127.0.0.1:PORT"
    [[nodiscard]] const std::string& Address() const { return address_; }
    // The PEM certificate the server presents (self-signed).
    [[nodiscard]] std::string CertificateFile() const { return root_.File("cert.pem"); }
    // The served folder's "downloads" directory.
    [[nodiscard]] std::string DownloadsDir() const { return root_.File("www/downloads"); }
    // Puts a file in "downloads" (update1.sig, update1.exe).
    [[nodiscard]] bool Publish(const std::string& name, const std::string& bytes) const;
    // The request log: "METHOD PATH agent=... type=... answer=...".
    [[nodiscard]] std::vector<std::string> Requests() const;

  private:
    [[nodiscard]] bool MakeCertificate();
    [[nodiscard]] bool Start(const std::vector<std::string>& faults);

    TempDir root_;
    pid_t pid_ = -1;
    std::string address_;
    std::string error_;
};

// The update-signing test key (private half) kept with the tests.
[[nodiscard]] std::string TestUpdateKeyFile();

}  // namespace vantic::testing
