#pragma once

// Login settings kept in memory for tests: the texts and integers a
// settings store would hold, with the store's rule that a text too long
// for the caller's buffer reads as empty.

#include <map>
#include <string>
#include <string_view>

#include "core/cpconfig.h"
#include "net/login_settings.h"

namespace vantic::testing {

class MemoryLoginStore final : public LoginStore {
  public:
    [[nodiscard]] std::string GetString(std::string_view key, std::size_t bufferSize) override {
        auto found = values.find(std::string(key));
        if (found == values.end() || found->second.size() >= bufferSize) {
            return {};
        }
        return found->second;
    }
    bool SetString(std::string_view key, std::string_view value) override {
        values[std::string(key)] = std::string(value);
        return true;
    }
    [[nodiscard]] bool GetBool(std::string_view key, bool fallback) override {
        auto found = values.find(std::string(key));
        return found == values.end() ? fallback : ParseBool(found->second);
    }
    bool SetInt(std::string_view key, int value) override {
        values[std::string(key)] = std::to_string(value);
        return true;
    }

    // A key that was never set reads as none.
    [[nodiscard]] std::string Value(const std::string& key) const {
        auto found = values.find(key);
        return found == values.end() ? "<unset>" : found->second;
    }

    std::map<std::string, std::string> values;
};

}  // namespace vantic::testing
