#include "server/account_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "core/cpstring.h"
#include "server/atomic_file.h"
#include "server/password_hash.h"
#include "server/private_files.h"

namespace vantic::server {

namespace {

// Lines without their "\n" (a "\r" stays), so joining them gives the text
// back byte for byte.
std::vector<std::string> RawLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find('\n', at)) != std::string_view::npos; at = end + 1) {
        lines.emplace_back(text.substr(at, end - at));
    }
    lines.emplace_back(text.substr(at));
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += i == 0 ? "" : "\n";
        text += lines[i];
    }
    return text;
}

bool NamesLogin(std::string_view line, std::string_view login) {
    std::optional<Account> account = ParseAccountLine(line);
    return account && account->login == login;
}

}  // namespace

AccountFile::AccountFile(std::string dir, int lockFd)
    : dir_(std::move(dir)), path_(dir_ + "/accounts.txt"), lockFd_(lockFd) {}

AccountFile::~AccountFile() {
    ::close(lockFd_);
}

std::unique_ptr<AccountFile> AccountFile::Lock(const std::string& dir, std::string& error) {
    if (!MakePrivateFolders(dir + "/tmp", error)) {
        return nullptr;
    }
    const std::string lockPath = dir + "/tmp/accounts.lock";
    int fd = ::open(lockPath.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, kPrivateFileMode);
    if (fd < 0) {
        error = "cannot open " + lockPath;
        return nullptr;
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            error = "cannot lock " + lockPath;
            return nullptr;
        }
    }
    return std::unique_ptr<AccountFile>(new AccountFile(dir, fd));
}

std::optional<std::string> AccountFile::Read(std::string& error) const {
    if (!FileExists(path_)) {
        return std::string();
    }
    std::optional<std::string> text = ReadWholeFile(path_);
    if (!text) {
        error = "cannot read " + path_;
    }
    return text;
}

bool AccountFile::Write(std::string_view text, bool durable, std::string& error) const {
    if (!WriteFileAtomically(path_, dir_ + "/tmp", text, durable, kPrivateFileMode)) {
        error = "cannot write " + path_;
        return false;
    }
    return true;
}

std::string WithAccount(std::string_view text, const Account& account) {
    std::vector<std::string> lines = RawLines(text);
    for (std::string& line : lines) {
        if (NamesLogin(line, account.login)) {
            line = FormatAccountLine(account) + (line.ends_with('\r') ? "\r" : "");
            return Joined(lines);
        }
    }
    std::string added(text.empty() ? AccountsFileHeader() : std::string(text));
    if (!added.empty() && !added.ends_with('\n')) {
        added += '\n';
    }
    return added + FormatAccountLine(account) + "\n";
}

std::string WithoutAccount(std::string_view text, std::string_view login, int& removed) {
    std::vector<std::string> kept;
    removed = 0;
    for (std::string& line : RawLines(text)) {
        if (NamesLogin(line, login)) {
            ++removed;
        } else {
            kept.push_back(std::move(line));
        }
    }
    return Joined(kept);
}

std::optional<std::string> WithHashedPasswords(std::string_view text, std::uint32_t iterations,
                                               int& hashed) {
    std::vector<std::string> lines = RawLines(text);
    hashed = 0;
    for (std::string& line : lines) {
        if (!ParseAccountLine(line)) {
            continue;
        }
        const std::string_view stored = LineWords(line)[1];
        if (IsPasswordHash(stored)) {
            continue;
        }
        std::optional<std::string> hash = HashPassword(stored, iterations);
        if (!hash) {
            return std::nullopt;
        }
        line.replace(static_cast<std::size_t>(stored.data() - line.data()), stored.size(), *hash);
        ++hashed;
    }
    return Joined(lines);
}

bool SecureAccountFile(const std::string& dir, std::uint32_t iterations, bool durable,
                       std::string& error) {
    std::unique_ptr<AccountFile> file = AccountFile::Lock(dir, error);
    if (!file) {
        return false;
    }
    std::optional<std::string> text = file->Read(error);
    if (!text) {
        return false;
    }
    int hashed = 0;
    std::optional<std::string> secured = WithHashedPasswords(*text, iterations, hashed);
    if (!secured) {
        error = "cannot hash the passwords of " + file->Path();
        return false;
    }
    if (hashed > 0) {
        return file->Write(*secured, durable, error);
    }
    if (!RestrictToOwner(file->Path())) {
        error = "cannot make " + file->Path() + " private (chmod 600)";
        return false;
    }
    return true;
}

}  // namespace vantic::server
