#pragma once

// The software update's flow on the scripted platform, in a program
// directory of its own, with the update-signing test key and a server
// (scripted or the real HTTPS one) behind an UpdateFetcher.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/update/software_update.h"
#include "framework/program_path.h"
#include "framework/wreg.h"
#include "net/rsa_key.h"
#include "net/update_signature.h"
#include "tests/app/scripted_views.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/temp_dir.h"
#include "tests/support/update_server_runner.h"

namespace vantic::testing {

// Paths answered from a table; an absent path fails the fetch.
class TableFetcher final : public UpdateFetcher {
  public:
    std::optional<std::string> Fetch(const std::string& path, WProgress* /*progress*/) override {
        fetched.push_back(path);
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    std::map<std::string, std::string> files;
    std::vector<std::string> fetched;
};

class UpdateFixture : public ::testing::Test {
  protected:
    static constexpr const char* kSigPath = "downloads/update1.sig";
    static constexpr const char* kExePath = "downloads/update1.exe";

    UpdateFixture() {
        SetProgramDirectoryForTesting(dir.Path());
        settings.SetSettingsLocation(SettingsLocation{dir.Path(), ""});
        std::optional<RsaPrivateKey> loaded = LoadPrivateKeyFile(TestUpdateKeyFile());
        EXPECT_TRUE(loaded.has_value()) << TestUpdateKeyFile();
        signingKey = loaded.value_or(RsaPrivateKey{});
        publicKey = signingKey.Public();
    }
    ~UpdateFixture() override { SetProgramDirectoryForTesting(""); }

    [[nodiscard]] std::string Sign(const std::string& program) const {
        std::optional<Bytes> file = SignUpdateProgram(AsBytes(program), signingKey);
        EXPECT_TRUE(file.has_value());
        return file ? std::string(file->begin(), file->end()) : std::string();
    }
    // A signed update on the table: "update1.sig" and "update1.exe".
    void OfferSigned(const std::string& program) {
        table.files[kSigPath] = Sign(program);
        table.files[kExePath] = program;
    }

    void Run(bool requested, UpdateFetcher& fetcher) {
        UpdateCheckContext context{platform,
                                   settings,
                                   fetcher,
                                   form,
                                   publicKey,
                                   [this] {
                                       ++prepareCalls;
                                       return allowClose;
                                   },
                                   [this] { ++resumeCalls; },
                                   [this] { ++quitCalls; },
                                   serverProblem,
                                   packaged};
        RunUpdateCheck(context, requested, owner, 1);
    }
    void Run(bool requested) { Run(requested, table); }

    [[nodiscard]] std::int32_t Now() const {
        return static_cast<std::int32_t>(platform.clock.Now());
    }
    [[nodiscard]] int LastCheck() { return settings.GetInt(kLastUpdateCheckKey, 0); }
    [[nodiscard]] int Option() { return settings.GetInt(kUpdateOptionKey, -1); }
    [[nodiscard]] std::string Beside(const std::string& name) const { return dir.File(name); }
    [[nodiscard]] bool Executable(const std::string& name) const {
        struct stat info {};
        return ::stat(Beside(name).c_str(), &info) == 0 && (info.st_mode & S_IXUSR) != 0;
    }
    [[nodiscard]] bool MessageShown(const std::string& caption) const {
        for (const Message& message : platform.ShownMessages()) {
            if (message.caption == caption) {
                return true;
            }
        }
        return false;
    }

    TempDir dir;
    ScriptedPlatform platform;
    WReg settings;
    ScriptedAutoUpdates form;
    TableFetcher table;
    RsaPrivateKey signingKey;
    RsaPublicKey publicKey;
    WindowId owner = reinterpret_cast<WindowId>(0x51);
    bool allowClose = true;
    std::string serverProblem;
    bool packaged = false;
    int prepareCalls = 0;
    int quitCalls = 0;
    int resumeCalls = 0;
};

}  // namespace vantic::testing
