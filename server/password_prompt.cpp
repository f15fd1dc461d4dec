#include "server/password_prompt.h"

#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace vantic::server {

namespace {

termios savedTerminal{};

// Ctrl+C while echo is off must not leave the terminal silent.
extern "C" void RestoreAndDie(int signal) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Echo off for the life of the object.
class QuietTerminal {
  public:
    QuietTerminal() {
        if (::tcgetattr(STDIN_FILENO, &savedTerminal) != 0) {
            return;
        }
        termios quiet = savedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        std::signal(SIGINT, RestoreAndDie);
        std::signal(SIGTERM, RestoreAndDie);
        active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~QuietTerminal() {
        if (active_) {
            ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
        }
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
    }
    QuietTerminal(const QuietTerminal&) = delete;
    QuietTerminal& operator=(const QuietTerminal&) = delete;
    [[nodiscard]] bool Active() const { return active_; }

  private:
    bool active_ = false;
};

// One line of standard input without its line end; nothing at end of input.
std::optional<std::string> ReadLine() {
    std::string line;
    for (int c; (c = std::getchar()) != EOF;) {
        if (c == '\n') {
            break;
        }
        line += static_cast<char>(c);
    }
    if (line.empty() && std::feof(stdin)) {
        return std::nullopt;
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

std::optional<std::string> Ask(const char* prompt, std::string& error) {
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    std::optional<std::string> line = ReadLine();
    if (!line) {
        error = "no password given";
    }
    return line;
}

}  // namespace

std::optional<std::string> ReadNewPassword(const std::string& login, std::string& error) {
    if (!::isatty(STDIN_FILENO)) {
        std::optional<std::string> line = ReadLine();
        if (!line) {
            error = "no password on standard input";
        }
        return line;
    }
    // Echo goes off before the first prompt shows, so nothing typed after
    // it echoes.
    QuietTerminal quiet;
    if (!quiet.Active()) {
        error = "cannot switch the terminal's echo off";
        return std::nullopt;
    }
    const std::string first = "New password for " + login + ": ";
    std::optional<std::string> password = Ask(first.c_str(), error);
    if (!password) {
        return std::nullopt;
    }
    std::optional<std::string> again = Ask("The same again: ", error);
    if (!again) {
        return std::nullopt;
    }
    if (*again != *password) {
        error = "the two passwords differ";
        return std::nullopt;
    }
    return password;
}

}  // namespace vantic::server
