// Stored passwords, the accounts file as the server's start and the
// account commands edit it, and the login check.

#include <gtest/gtest.h>

#include "server/account_file.h"
#include "server/accounts.h"
#include "server/options.h"
#include "server/password_hash.h"
#include "server/verified_logins.h"

namespace vantic::testing {
namespace {

using namespace vantic::server;

constexpr std::uint32_t kCheap = kMinHashIterations;

std::string Hash(std::string_view password, std::uint32_t iterations = kCheap) {
    std::optional<std::string> hash = HashPassword(password, iterations);
    EXPECT_TRUE(hash);
    return hash.value_or("");
}

TEST(PasswordHash, ChecksWithTheParametersOfItsOwnWord) {
    const std::string hash = Hash("caf\xe9 pw");
    EXPECT_TRUE(hash.starts_with("pbkdf2-sha256$1000$")) << hash;
    EXPECT_EQ(hash.find_first_of(" \t\r\n"), std::string::npos);  // one word of its line
    EXPECT_NE(Hash("caf\xe9 pw"), hash);                          // a fresh salt each time
    EXPECT_TRUE(CheckPassword(hash, "caf\xe9 pw"));
    for (std::string_view wrong : {"caf\xe9 p", "caf\xe9 pwx", "", "CAF\xe9 PW"}) {
        EXPECT_FALSE(CheckPassword(hash, wrong)) << wrong;
    }
    // A stronger count written later checks beside the old one.
    EXPECT_TRUE(CheckPassword(Hash("pw", 4321), "pw"));

    std::string tampered = hash;
    tampered.back() = tampered.back() == '0' ? '1' : '0';
    EXPECT_FALSE(CheckPassword(tampered, "caf\xe9 pw"));
    // Malformed hashes match nothing, not even their own text.
    for (const std::string& broken :
         {std::string("pbkdf2-sha256$"), std::string("pbkdf2-sha256$0$00$00"),
          std::string("pbkdf2-sha256$1000$zz$00"), std::string("pbkdf2-sha256$1000$00"),
          std::string("pbkdf2-sha256$1000$$") + hash.substr(hash.rfind('$') + 1)}) {
        EXPECT_TRUE(IsPasswordHash(broken));
        EXPECT_FALSE(CheckPassword(broken, broken)) << broken;
        EXPECT_FALSE(CheckPassword(broken, "")) << broken;
    }
}

TEST(PasswordHash, PlainTextOfAnOlderFileStillChecksExactly) {
    EXPECT_FALSE(IsPasswordHash("pw1"));
    EXPECT_TRUE(CheckPassword("pw1", "pw1"));
    for (std::string_view wrong : {"pw1x", "pw", "", "PW1"}) {
        EXPECT_FALSE(CheckPassword("pw1", wrong)) << wrong;
    }
}

TEST(AccountFileEdits, HashingKeepsEverythingButThePlainPasswords) {
    const std::string hashed = Hash("kept");
    const std::string text =
        "# who may log in\r\n"
        "operator  pw1\t1, 1012\r\n"
        "\n"
        "sovra " +
        hashed +
        " *\n"
        "lonely\n"
        "viewer caf\xe9";
    int count = 0;
    std::optional<std::string> result = WithHashedPasswords(text, kCheap, count);
    ASSERT_TRUE(result);
    EXPECT_EQ(count, 2);
    const std::vector<Account> accounts = ParseAccounts(*result);
    ASSERT_EQ(accounts.size(), 3u);
    EXPECT_TRUE(CheckPassword(accounts[0].storedPassword, "pw1"));
    EXPECT_EQ(accounts[0].units, (std::vector<std::uint32_t>{1, 1012}));
    EXPECT_EQ(accounts[1].storedPassword, hashed);
    EXPECT_TRUE(CheckPassword(accounts[2].storedPassword, "caf\xe9"));
    // Only the password words changed: the rest is byte for byte the same.
    const std::string expected =
        "# who may log in\r\n"
        "operator  " +
        accounts[0].storedPassword +
        "\t1, 1012\r\n"
        "\n"
        "sovra " +
        hashed +
        " *\n"
        "lonely\n"
        "viewer " +
        accounts[2].storedPassword;
    EXPECT_EQ(*result, expected);

    std::optional<std::string> again = WithHashedPasswords(*result, kCheap, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(again, result);
}

TEST(AccountFileEdits, AddReplaceAndRemoveTouchOnlyTheirLogin) {
    Account guest{"guest", "h1", false, {4, 9}};
    std::string text = WithAccount("", guest);
    EXPECT_TRUE(text.starts_with("#"));  // a new file explains itself
    EXPECT_EQ(ParseAccounts(text).size(), 1u);

    text = "# mine\nguest old 4\r\nother x *\nguest shadowed 5";
    guest.storedPassword = "h2";
    text = WithAccount(text, guest);
    EXPECT_EQ(text, "# mine\nguest\th2\t4,9\r\nother x *\nguest shadowed 5");
    Account added{"new", "h3", true, {}};
    EXPECT_EQ(WithAccount(text, added), text + "\nnew\th3\t*\n");

    int removed = 0;
    EXPECT_EQ(WithoutAccount(text, "guest", removed), "# mine\nother x *");
    EXPECT_EQ(removed, 2);  // a shadowed line must not come back to life
    EXPECT_EQ(WithoutAccount(text, "nobody", removed), text);
    EXPECT_EQ(removed, 0);
}

TEST(VerifiedLogins, RemembersAPasswordOnlyWhileItsHashStays) {
    VerifiedLogins logins;
    Account account{"guest", Hash("first"), false, {}};
    EXPECT_FALSE(logins.Check(account, "second"));
    EXPECT_TRUE(logins.Check(account, "first"));
    EXPECT_TRUE(logins.Check(account, "first"));  // remembered
    EXPECT_FALSE(logins.Check(account, "firs"));

    account.storedPassword = Hash("second");  // account passwd
    EXPECT_FALSE(logins.Check(account, "first"));
    EXPECT_TRUE(logins.Check(account, "second"));
    Account other{"other", account.storedPassword, false, {}};
    EXPECT_TRUE(logins.Check(other, "second"));
    EXPECT_FALSE(logins.Check(other, "first"));
}

TEST(CommandLine, AccountCommands) {
    std::string error;
    std::optional<CommandLine> line =
        ParseCommandLine({"account", "add", "guest", "--units", "4,9", "--data", "d"}, error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->action, Action::Account);
    EXPECT_EQ(line->account.verb, AccountVerb::Add);
    EXPECT_EQ(line->account.login, "guest");
    EXPECT_EQ(line->account.units, "4,9");
    EXPECT_EQ(line->account.hashIterations, kDefaultHashIterations);
    EXPECT_EQ(line->account.dataDir, "d");
    // Without --data the service's folder.
    line = ParseCommandLine({"account", "list"}, error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->account.dataDir, "/var/lib/vantic-server");
    line = ParseCommandLine({"seed-demo", "d", "--hash-iterations", "1000"}, error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->seedHashIterations, 1000u);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"account"},
             {"account", "list", "--data"},
             {"account", "add", "--data", "d"},
             {"account", "rename", "a", "--data", "d"},
             {"account", "passwd", "a", "--units", "4", "--data", "d"},
             {"account", "list", "--data", "d", "extra"},
             {"seed-demo", "d", "--hash-iterations", "999"},
             {"serve", "--data", "d", "--hash-iterations"}}) {
        EXPECT_FALSE(ParseCommandLine(bad, error)) << bad.back();
    }
}

}  // namespace
}  // namespace vantic::testing
