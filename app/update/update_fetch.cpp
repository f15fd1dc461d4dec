#include "app/update/update_fetch.h"

#include <curl/curl.h>

#include <sys/socket.h>
#include <unistd.h>

#include <memory>

#include "platform/blocking_calls.h"
#include "platform/connection_watch.h"

namespace vantic {

namespace {

constexpr const char* kUserAgent = "VanticAutoUpdateFetch";
constexpr long kReadSize = 2047;
// How often a stalled download still looks whether the dialog's Cancel
// was pressed.
constexpr std::uint32_t kPumpEveryMs = 100;

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// What the callbacks share with the fetch.
struct Transfer {
    std::string body;
    std::size_t maxBytes = 0;
    std::optional<FetchMeter> meter;
    WProgress* progress = nullptr;
    Clock* clock = nullptr;
    std::uint32_t lastPump = 0;
    bool failed = false;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    const std::size_t bytes = size * count;
    if (transfer.body.size() + bytes > transfer.maxBytes) {
        transfer.failed = true;
        return 0;
    }
    transfer.body.append(data, bytes);
    NoteRequestActivity();
    if (transfer.meter && !transfer.meter->OnRead(bytes)) {
        transfer.failed = true;
        return 0;
    }
    return bytes;
}

// Runs while nothing arrives too, so a Cancel ends the fetch even against
// a server that has gone quiet. The fetch runs on its operation's thread:
// the dialog answers there without the windows' messages being dispatched.
int OnTick(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto& transfer = *static_cast<Transfer*>(context);
    if (RequestsCancelled()) {
        return 1;
    }
    if (transfer.progress == nullptr) {
        return 0;
    }
    const std::uint32_t now = transfer.clock->TickMs();
    if (now - transfer.lastPump < kPumpEveryMs) {
        return 0;
    }
    transfer.lastPump = now;
    return transfer.progress->PumpMessages() ? 1 : 0;
}

// The fetch's connection is watched like the server link's, so a cancel
// shuts it down at once and the window can say whom it waits for.
struct Peer {
    std::string text;
};

curl_socket_t OpenWatched(void* context, curlsocktype /*purpose*/, curl_sockaddr* address) {
    const curl_socket_t handle = ::socket(address->family, address->socktype, address->protocol);
    if (handle != CURL_SOCKET_BAD) {
        WatchConnection(handle, static_cast<Peer*>(context)->text);
    }
    return handle;
}

int CloseWatched(void* /*context*/, curl_socket_t handle) {
    ForgetConnection(handle);
    return ::close(handle);
}

// Without a named certificate the signature file, not the certificate,
// vouches for what arrives. With one, the server must present it or a
// certificate it signed; that certificate is the only trust anchor, so the
// name the demo's or a mirror's certificate carries is not compared.
void SetCertificateCheck(CURL* h, const UpdateServer& server) {
    if (server.certificate.empty()) {
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
    } else {
        curl_easy_setopt(h, CURLOPT_CAINFO, server.certificate.c_str());
        curl_easy_setopt(h, CURLOPT_CAPATH, nullptr);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    }
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
}

}  // namespace

bool FetchMeter::OnRead(std::size_t count) {
    if (count == 0 || position_ + count > kSpan) {
        position_ = kSpan;
    } else {
        position_ += static_cast<std::uint32_t>(count);
    }
    if (progress_.SetOverall(position_, kSpan)) {
        return false;
    }
    if (position_ == kSpan) {
        position_ = 0;
    }
    clock_.Sleep(kPauseMs);
    return true;
}

CurlUpdateFetcher::CurlUpdateFetcher(UpdateServer server, Clock& clock, FetchLimits limits)
    : server_(std::move(server)), clock_(clock), limits_(limits) {}

std::optional<std::string> CurlUpdateFetcher::Fetch(const std::string& path, WProgress* progress) {
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    std::unique_ptr<curl_slist, HeaderListDeleter> headers(
        curl_slist_append(nullptr, "Content-Type: binary"));
    if (!curl || !headers) {
        return std::nullopt;
    }
    Transfer transfer;
    transfer.maxBytes = limits_.maxBytes;
    transfer.progress = progress;
    transfer.clock = &clock_;
    if (progress != nullptr) {
        transfer.meter.emplace(*progress, clock_);
    }
    const std::string url = UpdateUrl(server_, path);
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, "");
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, 0L);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    SetCertificateCheck(h, server_);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, kReadSize);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, limits_.connectSeconds);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, limits_.stallSeconds);
    if (progress == nullptr) {
        // Nothing on the screen moves meanwhile: bound the whole fetch.
        curl_easy_setopt(h, CURLOPT_TIMEOUT, limits_.totalSeconds);
    }
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnTick);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    Peer peer{server_.host + ":" + std::to_string(server_.port)};
    curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, OpenWatched);
    curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, &peer);
    curl_easy_setopt(h, CURLOPT_CLOSESOCKETFUNCTION, CloseWatched);
    curl_easy_setopt(h, CURLOPT_CLOSESOCKETDATA, &peer);

    // Both run on the calling thread (an operation's own); the signature
    // file's fetch is a request like the server link's.
    CURLcode result = CURLE_FAILED_INIT;
    if (progress != nullptr) {
        result = curl_easy_perform(h);
    } else {
        RunRequest([&] { result = curl_easy_perform(h); });
    }
    if (result != CURLE_OK || transfer.failed) {
        return std::nullopt;
    }
    if (transfer.meter && !transfer.meter->OnRead(0)) {
        return std::nullopt;
    }
    return std::move(transfer.body);
}

}  // namespace vantic
