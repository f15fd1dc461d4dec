#include "server/update/update_server.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <strings.h>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

namespace vantic::update_server {

namespace {

constexpr std::size_t kMaxRequestHead = 16 * 1024;
constexpr std::size_t kChunk = 16 * 1024;
constexpr const char* kNotFoundPage = "<html><body>404 Not Found</body></html>\r\n";

struct SslDeleter {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};
using Ssl = std::unique_ptr<SSL, SslDeleter>;
using SslContext = std::unique_ptr<SSL_CTX, SslDeleter>;

struct Request {
    std::string method;
    std::string path;
    std::string agent;
    std::string contentType;
};

std::mutex logLock;

void LogRequest(const Options& options, const Request& request, const char* answer) {
    if (options.logPath.empty()) {
        return;
    }
    std::lock_guard<std::mutex> hold(logLock);
    std::ofstream log(options.logPath, std::ios::app);
    log << request.method << ' ' << request.path << " agent=" << request.agent
        << " type=" << request.contentType << " answer=" << answer << '\n';
}

std::string HeaderValue(const std::string& head, const std::string& name) {
    std::istringstream lines(head);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > name.size() &&
            strncasecmp(line.c_str(), name.c_str(), name.size()) == 0 && line[name.size()] == ':') {
            std::string value = line.substr(name.size() + 1);
            value.erase(0, value.find_first_not_of(' '));
            while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) {
                value.pop_back();
            }
            return value;
        }
    }
    return {};
}

// Reads the request line and headers, and skips a body the request announces.
std::optional<Request> ReadRequest(SSL* ssl) {
    std::string head;
    char byte = 0;
    while (head.size() < kMaxRequestHead && !head.ends_with("\r\n\r\n")) {
        if (SSL_read(ssl, &byte, 1) != 1) {
            return std::nullopt;
        }
        head.push_back(byte);
    }
    std::istringstream first(head.substr(0, head.find("\r\n")));
    Request request;
    if (!(first >> request.method >> request.path)) {
        return std::nullopt;
    }
    request.agent = HeaderValue(head, "User-Agent");
    request.contentType = HeaderValue(head, "Content-Type");
    long bodySize = std::atol(HeaderValue(head, "Content-Length").c_str());
    for (; bodySize > 0; --bodySize) {
        if (SSL_read(ssl, &byte, 1) != 1) {
            return std::nullopt;
        }
    }
    return request;
}

bool WriteAll(SSL* ssl, std::string_view bytes) {
    while (!bytes.empty()) {
        const int part = static_cast<int>(std::min(bytes.size(), kChunk));
        if (SSL_write(ssl, bytes.data(), part) != part) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(part));
    }
    return true;
}

void Answer(SSL* ssl, const char* status, std::string_view body, std::size_t announced) {
    const std::string head = std::string("HTTP/1.1 ") + status +
                             "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                             std::to_string(announced) + "\r\nConnection: close\r\n\r\n";
    (void)(WriteAll(ssl, head) && WriteAll(ssl, body));
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

Fault FaultFor(const Options& options, const std::string& path) {
    for (const FaultRule& rule : options.faults) {
        if (path.ends_with(rule.suffix)) {
            return rule.fault;
        }
    }
    return Fault::None;
}

// Waits until the client gives up, answering nothing.
void Stall(SSL* ssl) {
    char byte = 0;
    while (SSL_read(ssl, &byte, 1) > 0) {
    }
}

void Respond(SSL* ssl, const Options& options, const Request& request) {
    const bool safePath =
        request.path.starts_with("/") && request.path.find("..") == std::string::npos;
    std::optional<std::string> file =
        safePath ? ReadFile(options.root + request.path) : std::nullopt;
    switch (FaultFor(options, request.path)) {
        case Fault::Stall:
            LogRequest(options, request, "stall");
            Stall(ssl);
            return;
        case Fault::Status:
            LogRequest(options, request, "status");
            Answer(ssl, "404 Not Found", kNotFoundPage, std::strlen(kNotFoundPage));
            return;
        case Fault::Garbage: {
            LogRequest(options, request, "garbage");
            std::string noise(file ? file->size() : 4096, '\0');
            RAND_bytes(reinterpret_cast<unsigned char*>(noise.data()),
                       static_cast<int>(noise.size()));
            Answer(ssl, "200 OK", noise, noise.size());
            return;
        }
        case Fault::Truncate:
            LogRequest(options, request, "truncate");
            if (file) {
                Answer(ssl, "200 OK", std::string_view(*file).substr(0, file->size() / 2),
                       file->size());
            }
            return;
        case Fault::None:
            break;
    }
    if (!file) {
        LogRequest(options, request, "404");
        Answer(ssl, "404 Not Found", kNotFoundPage, std::strlen(kNotFoundPage));
        return;
    }
    LogRequest(options, request, "200");
    Answer(ssl, "200 OK", *file, file->size());
}

void ServeConnection(SSL_CTX* context, int fd, const Options& options) {
    Ssl ssl(SSL_new(context));
    if (ssl && SSL_set_fd(ssl.get(), fd) == 1 && SSL_accept(ssl.get()) == 1) {
        if (std::optional<Request> request = ReadRequest(ssl.get())) {
            Respond(ssl.get(), options, *request);
        }
        SSL_shutdown(ssl.get());
    }
    ::close(fd);
    ERR_clear_error();
}

SslContext MakeContext(const Options& options) {
    SslContext context(SSL_CTX_new(TLS_server_method()));
    if (!context ||
        SSL_CTX_use_certificate_chain_file(context.get(), options.certificate.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context.get(), options.privateKey.c_str(), SSL_FILETYPE_PEM) !=
            1) {
        return nullptr;
    }
    return context;
}

// The connections being served, each on a thread of its own that is
// joined once it is done, so the threads never pile up.
class Connections {
  public:
    void Serve(SSL_CTX* context, int fd, const Options& options) {
        JoinFinished();
        auto connection = std::make_unique<Connection>();
        Connection* record = connection.get();
        connection->thread = std::jthread([record, context, fd, &options] {
            ServeConnection(context, fd, options);
            record->done = true;
        });
        running_.push_back(std::move(connection));
    }

  private:
    struct Connection {
        std::jthread thread;
        std::atomic<bool> done{false};
    };
    void JoinFinished() {
        std::erase_if(running_, [](const std::unique_ptr<Connection>& connection) {
            if (!connection->done.load()) {
                return false;
            }
            connection->thread.join();
            return true;
        });
    }
    std::vector<std::unique_ptr<Connection>> running_;
};

int Listen(const Options& options, int& port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(options.host.c_str(), std::to_string(options.port).c_str(), &hints, &found) !=
        0) {
        return -1;
    }
    int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const bool ok =
        fd >= 0 && ::bind(fd, found->ai_addr, found->ai_addrlen) == 0 && ::listen(fd, 16) == 0;
    freeaddrinfo(found);
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    if (!ok || ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    port = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                             : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    return fd;
}

}  // namespace

bool ParseFaultRule(const std::string& text, FaultRule& rule) {
    const std::size_t colon = text.find(':');
    const std::string mode = text.substr(0, colon);
    rule.suffix = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    rule.fault = mode == "garbage"    ? Fault::Garbage
                 : mode == "truncate" ? Fault::Truncate
                 : mode == "stall"    ? Fault::Stall
                 : mode == "status"   ? Fault::Status
                                      : Fault::None;
    return rule.fault != Fault::None;
}

int Serve(const Options& options) {
    ::signal(SIGPIPE, SIG_IGN);  // a client that hangs up fails a write, no more
    SslContext context = MakeContext(options);
    if (!context) {
        std::fprintf(stderr, "vantic-update-server: cannot use %s and %s\n",
                     options.certificate.c_str(), options.privateKey.c_str());
        return 1;
    }
    int port = 0;
    const int listener = Listen(options, port);
    if (listener < 0) {
        std::fprintf(stderr, "vantic-update-server: cannot listen on %s:%d\n", options.host.c_str(),
                     options.port);
        return 1;
    }
    std::printf("listening %s:%d\n", options.host.c_str(), port);
    std::fflush(stdout);
    Connections connections;
    for (;;) {
        const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        connections.Serve(context.get(), fd, options);
    }
}

}  // namespace vantic::update_server
