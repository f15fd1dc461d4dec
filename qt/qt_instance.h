#pragma once

// One controller per user on Qt. A lock file in a per-user folder says
// who runs (a lock left by a dead process counts as free); the runner
// listens on a local socket, and a later start connects to it to ask the
// runner to come to the front.

#include <QLocalServer>
#include <QLockFile>
#include <memory>

#include "app/single_instance.h"

namespace vantic {

class QtInstanceGuard final : public InstanceGuard {
  public:
    [[nodiscard]] bool ActivateRunning(const std::string& name) override;
    bool Claim(const std::string& name, std::function<void()> onActivate) override;

    // The socket and lock names for an instance name: per user.
    [[nodiscard]] static QString ServerName(const std::string& name);
    // Where the socket lives (the lock beside it, with ".lock" added),
    // whatever TMPDIR says.
    [[nodiscard]] static QString SocketPath(const std::string& name);

  private:
    [[nodiscard]] static QString Folder();

    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace vantic
