#pragma once

// Media uploads running at once, per account and in all: an upload body
// holds a worker for as long as it takes, so one account cannot hold more
// than a few, and uploads together never take the last workers from the
// short requests.

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace vantic::server {

class UploadSlots {
  public:
    UploadSlots(std::size_t perAccount, std::size_t total);
    UploadSlots(const UploadSlots&) = delete;
    UploadSlots& operator=(const UploadSlots&) = delete;

    // A running upload; gives its slot back when it goes away.
    class Held {
      public:
        Held(UploadSlots& slots, std::string login) : slots_(slots), login_(std::move(login)) {}
        ~Held() { slots_.Release(login_); }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

      private:
        UploadSlots& slots_;
        std::string login_;
    };
    // Null when the account, or the server, runs as many as it may.
    [[nodiscard]] std::unique_ptr<Held> Take(std::string_view login);

  private:
    void Release(const std::string& login);

    const std::size_t perAccount_;
    const std::size_t total_;
    std::mutex lock_;
    std::map<std::string, std::size_t, std::less<>> running_;
    std::size_t runningTotal_ = 0;
};

// Uploads may take all workers but one (a single worker serves them too).
[[nodiscard]] std::size_t UploadsForWorkers(std::size_t workers);

}  // namespace vantic::server
