// The check, the download and the installer start, against the HTTPS
// update server and against a table of answers.

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "core/cpstring.h"
#include "platform/blocking_calls.h"
#include "platform/xdg_desktop.h"
#include "tests/app/update_fixture.h"

namespace vantic::testing {
namespace {

// 1,600,000 bytes: the bar passes 750,000 twice.
std::string BigProgram() {
    std::string program(1'600'000, '\0');
    for (std::size_t i = 0; i < program.size(); ++i) {
        program[i] = static_cast<char>((i * 131) ^ (i >> 9));
    }
    return program;
}

class UpdateFlow : public UpdateFixture {
  protected:
    // The operator asks, chooses option 0 and accepts the offer.
    void AcceptOffer() {
        form.script.QueueOk();
        platform.QueueAnswer(MessageAnswer::Yes, "Install New Update?");
    }
    [[nodiscard]] std::vector<int> DownloadBar() const {
        const ProgressRecord* record = platform.progress.Last();
        if (record == nullptr || record->bars.count(progress_layout::kOverallBar) == 0) {
            return {};
        }
        return record->bars.at(progress_layout::kOverallBar);
    }
    [[nodiscard]] bool Started() const { return !platform.shell.opened.empty(); }
};

TEST_F(UpdateFlow, SignedUpdateIsOfferedDownloadedVerifiedAndStarted) {
    UpdateServerRunner server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    const std::string program = BigProgram();
    ASSERT_TRUE(server.Publish("update1.exe", program));
    ASSERT_TRUE(server.Publish("update1.sig", Sign(program)));
    CurlUpdateFetcher fetcher(*ParseUpdateServer(server.Address()), platform.clock);

    AcceptOffer();
    Run(true, fetcher);

    EXPECT_EQ(ReadWholeFile(Beside("newupdate.exe")), program);
    EXPECT_TRUE(Executable("newupdate.exe"));
    EXPECT_FALSE(FileExists(Beside("newupdate.exe.temp")));
    const ProgressRecord* dialog = platform.progress.Last();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->layout, progress_layout::kDownload);
    EXPECT_EQ(dialog->owner, owner);
    EXPECT_TRUE(dialog->destroyed);
    const std::vector<int> bar = DownloadBar();
    EXPECT_EQ(std::count(bar.begin(), bar.end(), 100), 3) << "twice at 750,000, once at the end";
    EXPECT_EQ(bar.back(), 100);
    EXPECT_EQ(prepareCalls, 1);
    ASSERT_EQ(platform.shell.opened.size(), 1u);
    EXPECT_EQ(platform.shell.opened[0].target, Beside("newupdate.exe"));
    EXPECT_EQ(platform.shell.opened[0].parameters, "/silent");
    EXPECT_EQ(quitCalls, 1);

    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0],
              "POST /downloads/update1.sig agent=VanticAutoUpdateFetch type=binary answer=200");
    EXPECT_TRUE(requests[1].starts_with("POST /downloads/update1.exe "));
}

TEST_F(UpdateFlow, RefusedSignatureFilesAreNeitherStoredNorFollowed) {
    const std::string program = "MZ update";
    const std::string good = Sign(program);
    std::string signatureChanged = good;
    signatureChanged[40] ^= 0x04;
    std::string shortSignature = good.substr(0, good.size() - 1);
    shortSignature[16] = 127;
    const std::string claimsTooMuch = good.substr(0, good.size() - 1);
    for (const std::string& offered :
         {good.substr(0, 16), claimsTooMuch, shortSignature, signatureChanged}) {
        table.files[kSigPath] = offered;
        table.files[kExePath] = program;
        table.fetched.clear();
        EXPECT_FALSE(CheckForUpdate(table, publicKey, 1)) << offered.size();
        EXPECT_FALSE(FileExists(Beside("newupdate.sig")));
        EXPECT_EQ(table.fetched, std::vector<std::string>{kSigPath});
    }
}

TEST_F(UpdateFlow, InstalledReleaseIsCurrent) {
    OfferSigned("MZ current");
    ASSERT_TRUE(WriteWholeFile(Beside("current.sig"), table.files[kSigPath]));
    form.script.QueueOk();
    platform.QueueAnswer(MessageAnswer::Ok, "Software is Current");
    Run(true);
    EXPECT_EQ(platform.ShownMessages().back().text, "No new updates are available at this time");
    EXPECT_FALSE(FileExists(Beside("newupdate.sig")));

    // A different installed release: the offer stands.
    ASSERT_TRUE(WriteWholeFile(Beside("current.sig"), Sign("MZ older")));
    EXPECT_TRUE(CheckForUpdate(table, publicKey, 1));
    EXPECT_EQ(ReadWholeFile(Beside("newupdate.sig")), table.files[kSigPath]);
}

TEST_F(UpdateFlow, ProgramThatDiffersFromItsDigestNeverRuns) {
    OfferSigned("MZ signed program");
    table.files[kExePath] = "MZ tampered program";
    AcceptOffer();
    Run(true);
    EXPECT_EQ(ReadWholeFile(Beside("newupdate.exe")), "MZ tampered program");
    EXPECT_FALSE(Executable("newupdate.exe"));
    EXPECT_FALSE(Started());
    EXPECT_EQ(prepareCalls, 0);
    EXPECT_TRUE(platform.progress.Last()->destroyed);
    EXPECT_EQ(platform.ShownMessages().size(), 1u) << "no message after a failed download";
}

TEST_F(UpdateFlow, DecliningCancellingOrKeepingTheProgramOpenStartsNothing) {
    UpdateServerRunner server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    const std::string program = BigProgram();
    ASSERT_TRUE(server.Publish("update1.exe", program));
    ASSERT_TRUE(server.Publish("update1.sig", Sign(program)));
    CurlUpdateFetcher fetcher(*ParseUpdateServer(server.Address()), platform.clock);

    form.script.QueueOk();
    platform.QueueAnswer(MessageAnswer::No, "Install New Update?");
    Run(true, fetcher);
    EXPECT_EQ(platform.progress.Records().size(), 0u);

    AcceptOffer();
    platform.progress.CancelAtPump(20);
    Run(true, fetcher);
    EXPECT_EQ(ReadWholeFile(Beside("newupdate.sig")), Sign(program));
    EXPECT_FALSE(FileExists(Beside("newupdate.exe")));

    AcceptOffer();
    allowClose = false;  // the operator keeps unsaved playlist changes open
    Run(true, fetcher);
    EXPECT_TRUE(Executable("newupdate.exe"));
    EXPECT_EQ(prepareCalls, 1);
    EXPECT_FALSE(Started());
    EXPECT_EQ(quitCalls, 0);
}

TEST_F(UpdateFlow, InstallerThatCannotStartKeepsTheProgramRunning) {
    OfferSigned("MZ program");
    platform.shell.result = false;
    AcceptOffer();
    platform.QueueAnswer(MessageAnswer::Ok, "Update Error");
    Run(true);
    EXPECT_EQ(platform.shell.opened.size(), 1u);
    EXPECT_EQ(quitCalls, 0);
    EXPECT_EQ(resumeCalls, 1);
    EXPECT_EQ(platform.messageBoxes.LastDetails(), platform.shell.failureCause);
}

// Every broken answer ends the fetch within its limits and starts nothing.
TEST_F(UpdateFlow, BrokenServersNeverHangAndNeverStartAnything) {
    const std::string program = BigProgram();
    const FetchLimits limits{5, 2, 10, 8u << 20};
    for (const char* fault : {"stall:.sig", "stall:.exe", "garbage:.sig", "garbage:.exe",
                              "truncate:.exe", "status:.exe"}) {
        SCOPED_TRACE(fault);
        UpdateServerRunner server({fault});
        ASSERT_TRUE(server.Ok()) << server.Error();
        ASSERT_TRUE(server.Publish("update1.exe", program));
        ASSERT_TRUE(server.Publish("update1.sig", Sign(program)));
        CurlUpdateFetcher fetcher(*ParseUpdateServer(server.Address()), platform.clock, limits);
        std::remove(Beside("newupdate.sig").c_str());

        const bool sigFault = std::string_view(fault).ends_with(".sig");
        form.script.QueueOk();
        platform.QueueAnswer(sigFault ? MessageAnswer::Ok : MessageAnswer::Yes,
                             sigFault ? "Software is Current" : "Install New Update?");
        const auto start = std::chrono::steady_clock::now();
        Run(true, fetcher);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
        EXPECT_FALSE(Started());
        EXPECT_FALSE(Executable("newupdate.exe"));
    }
}

// Without a progress dialog (the signature file) the fetch runs as a
// request, so the window keeps painting while the server is slow.
TEST_F(UpdateFlow, TheSignatureFetchRunsAsARequest) {
    UpdateServerRunner server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    ASSERT_TRUE(server.Publish("update1.sig", Sign("MZ program")));
    CurlUpdateFetcher fetcher(*ParseUpdateServer(server.Address()), platform.clock);
    SetRequestCalls(&platform.blocking);
    EXPECT_EQ(fetcher.Fetch("downloads/update1.sig", nullptr), Sign("MZ program"));
    SetRequestCalls(nullptr);
    EXPECT_EQ(platform.blocking.calls, 1);
}

TEST_F(UpdateFlow, ServerSettingThatIsNoServerIsReportedOnceAndNothingIsAsked) {
    OfferSigned("MZ program");
    serverProblem = BadUpdateServerText("::1");
    form.script.QueueOk();
    platform.QueueAnswer(MessageAnswer::Ok, "Software Update");
    Run(true);
    ASSERT_EQ(platform.ShownMessages().size(), 1u);
    EXPECT_EQ(platform.ShownMessages()[0].text,
              "The update server setting ::1 is not a host name or address");
    EXPECT_TRUE(table.fetched.empty());
}

// With "Update_Certificate" the server must present that certificate; a
// certificate of another server, or none readable, fails the fetch.
TEST_F(UpdateFlow, NamedCertificateIsTheOnlyOneAccepted) {
    UpdateServerRunner server;
    UpdateServerRunner other;
    ASSERT_TRUE(server.Ok() && other.Ok()) << server.Error() << other.Error();
    ASSERT_TRUE(server.Publish("update1.sig", Sign("MZ program")));
    const struct {
        std::string certificate;
        bool fetched;
    } cases[] = {{"", true},
                 {server.CertificateFile(), true},
                 {other.CertificateFile(), false},
                 {Beside("missing.pem"), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.certificate);
        UpdateServer address = *ParseUpdateServer(server.Address());
        address.certificate = c.certificate;
        CurlUpdateFetcher fetcher(address, platform.clock);
        EXPECT_EQ(fetcher.Fetch(kSigPath, nullptr).has_value(), c.fetched);
    }
}

// The update files are written privately without following links, and the
// installer starts only from the program and signature file as they are on
// disk right before the start.
TEST_F(UpdateFlow, InstallerStartsOnlyFromTheVerifiedFilesOnDisk) {
    const std::string victim = Beside("victim");
    const auto plantLinks = [&] {
        EXPECT_EQ(::symlink(victim.c_str(), Beside("newupdate.sig").c_str()), 0);
        EXPECT_EQ(::symlink(victim.c_str(), Beside("newupdate.exe").c_str()), 0);
    };
    const auto changeProgram = [&] {
        EXPECT_TRUE(WriteWholeFile(Beside("newupdate.exe"), "MZ other program"));
    };
    const auto linkProgram = [&] {
        EXPECT_TRUE(MoveFileOver(Beside("newupdate.exe"), Beside("copy.exe")));
        EXPECT_EQ(::symlink(Beside("copy.exe").c_str(), Beside("newupdate.exe").c_str()), 0);
    };
    const auto changeSignature = [&] {
        EXPECT_TRUE(WriteWholeFile(Beside("newupdate.sig"), Sign("MZ other program")));
    };
    const struct {
        const char* name;
        std::function<void()> beforeDownload;
        std::function<void()> afterDownload;
        bool starts;
    } cases[] = {{"untouched", {}, {}, true},
                 {"links under both names", plantLinks, {}, true},
                 {"program changed", {}, changeProgram, false},
                 {"program now a link", {}, linkProgram, false},
                 {"signature changed", {}, changeSignature, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* name : {"newupdate.sig", "newupdate.exe", "copy.exe"}) {
            std::remove(Beside(name).c_str());
        }
        ASSERT_TRUE(WriteWholeFile(victim, "victim"));
        platform.shell.opened.clear();
        OfferSigned("MZ program");
        if (c.beforeDownload) {
            c.beforeDownload();
        }
        ASSERT_TRUE(CheckForUpdate(table, publicKey, 1));
        ASSERT_TRUE(DownloadUpdate(table, 1, nullptr));
        EXPECT_EQ(ReadWholeFile(victim), "victim");
        namespace fs = std::filesystem;
        EXPECT_EQ(fs::symlink_status(Beside("newupdate.sig")).permissions(), fs::perms(0600));
        EXPECT_EQ(fs::symlink_status(Beside("newupdate.exe")).permissions(), fs::perms(0700));
        if (c.afterDownload) {
            c.afterDownload();
        }
        EXPECT_EQ(InstallUpdate(platform.shell, publicKey).started, c.starts);
        EXPECT_EQ(platform.shell.opened.size(), c.starts ? 1u : 0u);
    }
}

// A program a package installed knows its release by the package's
// "current.sig" and points a newer one out instead of downloading it.
TEST_F(UpdateFlow, PackagedProgramLeavesTheUpdateToThePackageManager) {
    const TempDir xdg;
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = oldXdg != nullptr ? oldXdg : "";
    ::setenv("XDG_CONFIG_HOME", xdg.Path().c_str(), 1);
    SetProgramDirectoryForTesting(dir.File("root/usr/bin/"));
    packaged = RunsFromSystemFolder();
    const std::string shipped = dir.File("root/usr/share/vantic-controller/current.sig");
    ASSERT_TRUE(MakePrivateDirectories(dir.File("root/usr/share/vantic-controller")));
    const struct {
        std::string installed;
        const char* caption;
        const char* text;
    } cases[] = {
        {"MZ program", "Software is Current", "No new updates are available at this time"},
        {"MZ older program", "New Update Available", kPackagedUpdateText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        ASSERT_TRUE(WriteWholeFile(shipped, Sign(c.installed)));
        OfferSigned("MZ program");
        table.fetched.clear();
        form.script.QueueOk();
        platform.QueueAnswer(MessageAnswer::Ok, c.caption);
        Run(true);
        EXPECT_EQ(platform.ShownMessages().back().text, c.text);
        EXPECT_EQ(table.fetched, std::vector<std::string>{kSigPath});
        EXPECT_FALSE(Started());
    }
    EXPECT_TRUE(packaged);
    ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}

}  // namespace
}  // namespace vantic::testing

namespace vantic::testing {
namespace {

// The installer is started detached: it runs on after the program that
// started it has ended, with "/silent". A test update program waits until the
// test has reaped that program, then writes what it was given. (Its own $PPID
// is no guide: when the program ends before the shell starts, the shell's
// parent is already the reaper, which never goes away.) The wait is bounded
// so a stray installer cannot hold the test's output open.
using UpdateInstall = UpdateFixture;

TEST_F(UpdateInstall, InstallerOutlivesTheProgramThatStartedIt) {
    const std::string marker = Beside("installed.txt");
    const std::string reaped = Beside("controller-reaped");
    std::remove(reaped.c_str());
    const std::string program =
        "#!/bin/sh\nn=0\n"
        "while [ ! -e '" +
        reaped +
        "' ] && [ $n -lt 600 ]; do sleep 0.05; n=$((n+1)); done\n"
        "[ -e '" +
        reaped + "' ] && echo \"$1\" > '" + marker + "'\n";
    OfferSigned(program);
    ASSERT_TRUE(CheckForUpdate(table, publicKey, 1));
    ASSERT_TRUE(DownloadUpdate(table, 1, nullptr));

    const pid_t controller = ::fork();
    ASSERT_GE(controller, 0);
    if (controller == 0) {
        XdgShell shell;
        ::_exit(InstallUpdate(shell, publicKey).started ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(controller, &status, 0), controller);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(WriteWholeFile(reaped, "gone"));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!FileExists(marker) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(ReadWholeFile(marker).value_or("").substr(0, 8), "/silent\n");
}

}  // namespace
}  // namespace vantic::testing
