#include "tests/server/wire_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "net/envelope.h"
#include "net/rsa.h"

namespace vantic::testing {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

Clock::time_point DeadlineAfter(double seconds) {
    return Clock::now() + std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

std::uint32_t WordFrom(const std::string& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
           b[3];
}

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

WireSocket::~WireSocket() {
    Close();
}

WireSocket& WireSocket::operator=(WireSocket&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void WireSocket::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool WireSocket::SendAll(std::string_view bytes) {
    while (!bytes.empty() && fd_ >= 0) {
        ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return fd_ >= 0;
}

std::optional<std::string> WireSocket::Receive(std::size_t count, double timeoutSeconds) {
    const auto deadline = DeadlineAfter(timeoutSeconds);
    std::string bytes(count, '\0');
    std::size_t got = 0;
    while (got < count && fd_ >= 0) {
        pollfd entry{fd_, POLLIN, 0};
        if (::poll(&entry, 1, MillisecondsLeft(deadline)) <= 0) {
            return std::nullopt;
        }
        ssize_t n = ::recv(fd_, bytes.data() + got, count - got, 0);
        if (n <= 0) {
            return std::nullopt;
        }
        got += static_cast<std::size_t>(n);
    }
    return got == count ? std::optional<std::string>(bytes) : std::nullopt;
}

bool WireSocket::SendWord(std::uint32_t value) {
    return SendAll(WordText(value));
}

std::optional<std::uint32_t> WireSocket::ReceiveWord(double timeoutSeconds) {
    std::optional<std::string> bytes = Receive(4, timeoutSeconds);
    return bytes ? std::optional<std::uint32_t>(WordFrom(*bytes)) : std::nullopt;
}

bool WireSocket::ClosedWithin(double timeoutSeconds, std::size_t* received) {
    const auto deadline = DeadlineAfter(timeoutSeconds);
    char sink[4096];
    while (fd_ >= 0) {
        pollfd entry{fd_, POLLIN, 0};
        if (::poll(&entry, 1, MillisecondsLeft(deadline)) <= 0) {
            return false;
        }
        ssize_t n = ::recv(fd_, sink, sizeof sink, 0);
        if (n <= 0) {
            return true;
        }
        if (received != nullptr) {
            *received += static_cast<std::size_t>(n);
        }
    }
    return true;
}

WireSocket ConnectTo(const std::string& host, std::uint16_t port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // A send to a server that stopped reading fails instead of hanging.
    timeval sendLimit{15, 0};
    if (fd >= 0) {
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (fd < 0 || ::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return WireSocket();
    }
    return WireSocket(fd);
}

std::string WordText(std::uint32_t value) {
    return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                       static_cast<char>(value >> 8), static_cast<char>(value)};
}

Md5Digest DigestOf(std::string_view bytes) {
    return Md5Buffer(AsBytes(bytes));
}

std::string LoginRecord(std::int32_t command, std::int32_t unit, const Md5Digest* digest,
                        std::string_view login, std::string_view password, std::string_view nonce,
                        std::string_view sessionKey) {
    std::string record(108, '\0');
    record.replace(0, 4, WordText(static_cast<std::uint32_t>(command)));
    record.replace(4, 4, WordText(static_cast<std::uint32_t>(unit)));
    if (digest != nullptr) {
        record.replace(12, 16, std::string(digest->begin(), digest->end()));
    }
    record.replace(28, std::min<std::size_t>(login.size(), 23), login.substr(0, 23));
    record.replace(52, std::min<std::size_t>(password.size(), 23), password.substr(0, 23));
    record.replace(76, 16, nonce.substr(0, 16));
    record.replace(92, 16, sessionKey.substr(0, 16));
    return record;
}

WireClient::WireClient(std::string host, std::uint16_t port, std::string keyFile, std::string login,
                       std::string password, double timeoutSeconds)
    : host_(std::move(host)),
      port_(port),
      keyFile_(std::move(keyFile)),
      login_(std::move(login)),
      password_(std::move(password)),
      timeout_(timeoutSeconds) {}

void WireClient::SetCredentials(std::string login, std::string password) {
    login_ = std::move(login);
    password_ = std::move(password);
}

std::optional<WireClient::Session> WireClient::Login(std::int32_t command, std::int32_t unit,
                                                     const Md5Digest* digest) {
    Session session{ConnectTo(host_, port_), {}};
    std::optional<std::string> nonce =
        session.socket.Valid() ? session.socket.Receive(16, timeout_) : std::nullopt;
    if (!nonce) {
        return std::nullopt;
    }
    std::string header = LoginRecord(command, unit, digest, login_, password_, *nonce, "");
    header.resize(92);
    std::optional<Bytes> first = RsaSeal(AsBytes(header), keyFile_);
    if (!first || first->size() < 16) {
        return std::nullopt;
    }
    std::memcpy(session.key.data(), first->data(), 16);
    std::string record = LoginRecord(command, unit, digest, login_, password_, *nonce,
                                     std::string(first->begin(), first->begin() + 16));
    std::optional<Bytes> sealed = RsaSeal(AsBytes(record), keyFile_);
    if (!sealed || sealed->size() > 128) {
        return std::nullopt;
    }
    std::string block(129, '\0');
    block[0] = static_cast<char>(sealed->size());
    block.replace(1, sealed->size(), Text(*sealed));
    if (!session.socket.SendAll(block)) {
        return std::nullopt;
    }
    return session;
}

Download WireClient::Fetch(std::int32_t command, std::int32_t unit) {
    Download result;
    std::optional<Session> session = Login(command, unit);
    if (!session) {
        return result;
    }
    WireSocket& socket = session->socket;
    std::optional<std::uint32_t> length = socket.ReceiveWord(timeout_);
    std::optional<std::uint32_t> status = length ? socket.ReceiveWord(timeout_) : std::nullopt;
    if (!status) {
        return result;
    }
    result.length = *length;
    result.status = static_cast<std::int32_t>(*status);
    if (result.status != 0 && result.status != -1) {
        result.kind = Download::Kind::Refused;
        return result;
    }
    if (*length == 0xFFFFFFFFu) {
        (void)socket.SendWord(0xFFFFFFFFu);
        result.kind = Download::Kind::Absent;
        return result;
    }
    if (*length > 20000000u) {
        result.kind = Download::Kind::Oversize;
        return result;
    }
    std::optional<std::string> body = socket.Receive(*length, timeout_);
    if (!body) {
        return result;
    }
    std::optional<Bytes> payload = OpenPayload(AsBytes(*body), session->key);
    if (!payload) {
        result.kind = Download::Kind::Undecryptable;
        return result;
    }
    (void)socket.SendWord(*length);
    result.kind = Download::Kind::Payload;
    result.payload = Text(*payload);
    return result;
}

std::optional<std::uint32_t> WireClient::Store(std::int32_t command, std::int32_t unit,
                                               std::string_view payload) {
    std::optional<Session> session = Login(command, unit);
    if (!session) {
        return std::nullopt;
    }
    const Bytes envelope = SealPayload(AsBytes(payload), session->key);
    const std::string frame =
        WordText(static_cast<std::uint32_t>(envelope.size())) + WordText(0) + Text(envelope);
    if (!session->socket.SendAll(frame)) {
        return std::nullopt;
    }
    return session->socket.ReceiveWord(timeout_);
}

std::optional<std::uint32_t> WireClient::Query(const Md5Digest& digest) {
    std::optional<Session> session = Login(0, -1, &digest);
    if (!session) {
        return std::nullopt;
    }
    std::optional<std::uint32_t> answer = session->socket.ReceiveWord(timeout_);
    if (!answer || !session->socket.SendWord(*answer)) {
        return std::nullopt;
    }
    return answer;
}

std::optional<std::uint32_t> WireClient::PutMedia(const Md5Digest& digest, std::string_view bytes) {
    std::optional<Session> session = Login(7, -1, &digest);
    if (!session) {
        return std::nullopt;
    }
    const std::string frame =
        WordText(static_cast<std::uint32_t>(bytes.size())) + WordText(0) + std::string(bytes);
    if (!session->socket.SendAll(frame)) {
        return std::nullopt;
    }
    return session->socket.ReceiveWord(timeout_);
}

}  // namespace vantic::testing
