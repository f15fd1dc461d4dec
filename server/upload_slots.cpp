#include "server/upload_slots.h"

#include <algorithm>

namespace vantic::server {

UploadSlots::UploadSlots(std::size_t perAccount, std::size_t total)
    : perAccount_(std::max<std::size_t>(perAccount, 1)), total_(std::max<std::size_t>(total, 1)) {}

std::unique_ptr<UploadSlots::Held> UploadSlots::Take(std::string_view login) {
    std::lock_guard<std::mutex> hold(lock_);
    auto found = running_.find(login);
    const std::size_t mine = found == running_.end() ? 0 : found->second;
    if (mine >= perAccount_ || runningTotal_ >= total_) {
        return nullptr;
    }
    ++running_[std::string(login)];
    ++runningTotal_;
    return std::make_unique<Held>(*this, std::string(login));
}

void UploadSlots::Release(const std::string& login) {
    std::lock_guard<std::mutex> hold(lock_);
    auto found = running_.find(login);
    if (found != running_.end() && --found->second == 0) {
        running_.erase(found);
    }
    --runningTotal_;
}

std::size_t UploadsForWorkers(std::size_t workers) {
    return workers > 1 ? workers - 1 : 1;
}

}  // namespace vantic::server
