#pragma once

// One controller per user: a second start hands over to the first.

#include <functional>
#include <string>

namespace vantic {

class InstanceGuard {
  public:
    virtual ~InstanceGuard() = default;
    // True when an instance called name already runs; it has then been
    // asked to come to the front.
    [[nodiscard]] virtual bool ActivateRunning(const std::string& name) = 0;
    // Claims name for this process. onActivate runs on the user-interface
    // thread whenever a later start asks this instance to come forward.
    virtual bool Claim(const std::string& name, std::function<void()> onActivate) = 0;
};

}  // namespace vantic
