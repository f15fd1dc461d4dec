#include "net/login_form.h"

#include <gtest/gtest.h>

#include "net/server_login.h"
#include "tests/support/memory_login_store.h"
#include "tests/support/scripted_form.h"
#include "tests/support/scripted_form_views.h"

namespace vantic {
namespace {

using testing::MemoryLoginStore;

TEST(LoginFormOpen, ShowsTheMaskNeverThePasswordAndFocusesWhatIsMissing) {
    struct Case {
        const char* host;
        const char* name;
        bool passwordKnown;
        LoginFormFocus focus;
    };
    const Case cases[] = {
        {"", "op", true, LoginFormFocus::Host},
        {"venue.example", "", true, LoginFormFocus::LoginName},
        {"venue.example", "op", false, LoginFormFocus::Password},
        {"venue.example", "op", true, LoginFormFocus::Ok},
    };
    for (const Case& c : cases) {
        const LoginForm form = OpenLoginForm(c.host, c.name, c.passwordKnown, true);
        EXPECT_EQ(form.focus, c.focus) << c.host << "/" << c.name;
        EXPECT_EQ(form.host, c.host);
        EXPECT_EQ(form.loginName, c.name);
        EXPECT_EQ(form.password, c.passwordKnown ? "********" : "");
        EXPECT_TRUE(form.rememberPassword);
        // Only a focus landing in the password field counts as touching it.
        EXPECT_EQ(form.passwordChanged, c.focus == LoginFormFocus::Password);
    }
}

TEST(LoginFormOpen, FocusingThePasswordClearsTheMaskAndCountsAsAChange) {
    LoginForm form = OpenLoginForm("h", "n", true, false);
    ASSERT_FALSE(form.passwordChanged);
    FocusPasswordField(form);
    EXPECT_EQ(form.password, "");
    EXPECT_TRUE(form.passwordChanged);
    EditPasswordField(form, std::string(30, 'p'));
    EXPECT_EQ(form.password, std::string(23, 'p'));  // the field holds 23 characters
}

LoginForm Filled(bool remember, std::optional<std::string> typedPassword) {
    LoginForm form = OpenLoginForm("venue.example", "Operator", true, remember);
    if (typedPassword) {
        FocusPasswordField(form);
        EditPasswordField(form, *typedPassword);
    }
    return form;
}

TEST(LoginFormOk, StaysOpenOnAnEmptyHostNameOrTouchedPasswordButKeepsEarlierSteps) {
    LoginForm form = Filled(true, "");
    form.host.clear();
    LoginFormCommit commit = PlanLoginFormOk(form);
    EXPECT_FALSE(commit.close);
    EXPECT_FALSE(commit.host || commit.loginName || commit.rememberPassword);

    form.host = "venue.example";
    form.loginName.clear();
    commit = PlanLoginFormOk(form);
    EXPECT_FALSE(commit.close);
    EXPECT_EQ(commit.host, "venue.example");
    EXPECT_FALSE(commit.loginName);

    form.loginName = "Operator";
    commit = PlanLoginFormOk(form);
    EXPECT_FALSE(commit.close);
    EXPECT_EQ(commit.loginName, "Operator");
    EXPECT_EQ(commit.rememberPassword, true);
    EXPECT_FALSE(commit.password);
    EXPECT_EQ(commit.storedPassword, LoginFormCommit::StoredPassword::Keep);
}

TEST(LoginFormOk, TheRememberBoxDecidesWhatHappensToTheStoredPassword) {
    using Stored = LoginFormCommit::StoredPassword;
    struct Case {
        bool remember;
        std::optional<std::string> typed;
        Stored stored;
    };
    const Case cases[] = {
        {false, std::nullopt, Stored::Erase},
        {false, "s3cret", Stored::Erase},
        {true, "s3cret", Stored::Store},
        {true, std::nullopt, Stored::Keep},
    };
    for (const Case& c : cases) {
        const LoginFormCommit commit = PlanLoginFormOk(Filled(c.remember, c.typed));
        EXPECT_TRUE(commit.close);
        EXPECT_EQ(commit.storedPassword, c.stored) << c.remember << " " << c.typed.value_or("-");
        EXPECT_EQ(commit.password, c.typed);
    }
}

WindowId MainWindow() {
    static int window = 0;
    return reinterpret_cast<WindowId>(&window);
}

class ServerLoginTest : public ::testing::Test {
  protected:
    void Store(const std::string& host, const std::string& name, const std::string& password,
               bool remember) {
        store.values = {{"Distribution_Server", host},
                        {"Distribution_Username", name},
                        {"Distribution_Userpass", password},
                        {"Distribution_Userpass_Remember", remember ? "1" : "0"}};
    }
    // A new run of the program over the same settings.
    ServerLogin& Start() {
        login.reset();
        settings.emplace(store, "/keys/p.key");
        login.emplace(*settings, view, [this] { ++reloads; });
        return *login;
    }

    MemoryLoginStore store;
    testing::ScriptedLoginView view;
    std::optional<LoginSettings> settings;
    std::optional<ServerLogin> login;
    int reloads = 0;
};

TEST_F(ServerLoginTest, CompleteSettingsNeedNoFormAndIncompleteOnesNeedAnOwner) {
    Store("venue.example", "op", "pw", true);
    EXPECT_TRUE(Start().EnsureLogin(MainWindow()));
    EXPECT_EQ(settings->Access().keyFilePath, "/keys/p.key");

    Store("venue.example", "op", "pw", false);  // a password not remembered is not read
    EXPECT_FALSE(Start().EnsureLogin(kNoWindow));
    EXPECT_TRUE(view.script.Opened().empty());
    EXPECT_EQ(reloads, 0);
}

TEST_F(ServerLoginTest, HostAndNameAloneConfirmTheFormThoughThePasswordStaysEmpty) {
    Start();
    view.script.Queue([](LoginForm& form) {
        EXPECT_EQ(form.focus, LoginFormFocus::Host);
        form.host = "venue.example:4000";
        form.loginName = "Operator";
        return true;
    });
    EXPECT_TRUE(login->EnsureLogin(MainWindow()));
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(store.Value("Distribution_Server"), "venue.example:4000");
    EXPECT_EQ(store.Value("Distribution_Username"), "Operator");
    EXPECT_EQ(store.Value("Distribution_Userpass_Remember"), "0");
    EXPECT_EQ(store.Value("Distribution_Userpass"), "");
    // This run's requests and every later run's carry the name in lower case.
    EXPECT_EQ(settings->Access().loginName, "operator");
    EXPECT_EQ(settings->ServerPassword(), "");
    EXPECT_EQ(Start().Settings().ServerLoginName(), "operator");
}

TEST_F(ServerLoginTest, AnUntouchedMaskKeepsTheStoredPassword) {
    Store("venue.example", "op", "stored", true);
    Start();
    view.script.Queue([](LoginForm& form) {
        EXPECT_EQ(form.password, "********");
        EXPECT_EQ(form.focus, LoginFormFocus::Ok);
        return true;
    });
    EXPECT_TRUE(login->ShowLoginForm(MainWindow()));
    EXPECT_EQ(store.Value("Distribution_Userpass"), "stored");
    EXPECT_EQ(settings->ServerPassword(), "stored");
}

TEST_F(ServerLoginTest, ClearingRememberErasesTheStoredPasswordButThisRunKeepsIt) {
    Store("venue.example", "op", "stored", true);
    Start();
    view.script.Queue([](LoginForm& form) {
        form.rememberPassword = false;
        return true;
    });
    EXPECT_TRUE(login->ShowLoginForm(MainWindow()));
    EXPECT_EQ(store.Value("Distribution_Userpass"), "");
    EXPECT_EQ(store.Value("Distribution_Userpass_Remember"), "0");
    EXPECT_EQ(settings->ServerPassword(), "stored");

    // The next start has no password and sends the operator to the password field.
    Start();
    view.script.Queue([](LoginForm& form) {
        EXPECT_EQ(form.focus, LoginFormFocus::Password);
        form.rememberPassword = true;
        EditPasswordField(form, "typed");
        return true;
    });
    EXPECT_TRUE(login->EnsureLogin(MainWindow()));
    EXPECT_EQ(store.Value("Distribution_Userpass"), "typed");
    EXPECT_EQ(settings->ServerPassword(), "typed");
}

TEST_F(ServerLoginTest, ATouchedEmptyPasswordKeepsTheFormOpenAndCancelKeepsWhatWasStored) {
    Store("old.example", "op", "stored", true);
    Start();
    view.script.Queue([](LoginForm& form) {
        form.host = "new.example";
        FocusPasswordField(form);  // the mask goes; nothing typed
        return true;
    });
    view.script.QueueCancel();
    EXPECT_FALSE(login->ShowLoginForm(MainWindow()));
    EXPECT_EQ(view.script.Opened().size(), 2u);  // OK left it open
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(store.Value("Distribution_Server"), "new.example");
    EXPECT_EQ(store.Value("Distribution_Userpass"), "stored");
    EXPECT_EQ(settings->ServerHost(), "new.example");
    EXPECT_EQ(settings->ServerPassword(), "stored");
}

TEST_F(ServerLoginTest, ValuesTooLongForTheirRoomReadAsEmpty) {
    Store(std::string(260, 'h'), std::string(24, 'n'), "pw", true);
    Start();
    EXPECT_EQ(settings->ServerHost(), "");
    EXPECT_EQ(settings->ServerLoginName(), "");
    EXPECT_FALSE(settings->Complete());
}

}  // namespace
}  // namespace vantic
