#pragma once

// The login settings kept in the application's settings store.

#include "framework/wreg.h"
#include "net/login_settings.h"

namespace vantic {

class WRegLoginStore final : public LoginStore {
  public:
    explicit WRegLoginStore(WReg& store) : store_(store) {}

    [[nodiscard]] std::string GetString(std::string_view key, std::size_t bufferSize) override {
        return store_.GetString(key, bufferSize);
    }
    bool SetString(std::string_view key, std::string_view value) override {
        return store_.SetString(key, value);
    }
    [[nodiscard]] bool GetBool(std::string_view key, bool fallback) override {
        return store_.GetBool(key, fallback);
    }
    bool SetInt(std::string_view key, int value) override { return store_.SetInt(key, value); }

  private:
    WReg& store_;
};

}  // namespace vantic
