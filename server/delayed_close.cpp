#include "server/delayed_close.h"

#include <unistd.h>

#include <vector>

namespace vantic::server {

DelayedClose::DelayedClose(std::size_t maxHeld) : maxHeld_(maxHeld), thread_([this] { Run(); }) {}

DelayedClose::~DelayedClose() {
    Stop();
}

void DelayedClose::CloseAt(int fd, Clock::time_point when) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!stopping_ && held_.size() < maxHeld_ && when > Clock::now()) {
            held_.emplace(when, fd);
            changed_.notify_one();
            return;
        }
    }
    ::close(fd);
}

void DelayedClose::Stop() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (stopping_) {
            return;
        }
        stopping_ = true;
    }
    changed_.notify_one();
    thread_.join();
}

void DelayedClose::Run() {
    std::unique_lock<std::mutex> hold(lock_);
    while (!stopping_) {
        if (held_.empty()) {
            changed_.wait(hold);
            continue;
        }
        const Clock::time_point next = held_.begin()->first;
        if (Clock::now() < next) {
            changed_.wait_until(hold, next);
            continue;
        }
        std::vector<int> due;
        for (auto at = held_.begin(); at != held_.end() && at->first <= Clock::now();) {
            due.push_back(at->second);
            at = held_.erase(at);
        }
        hold.unlock();
        for (int fd : due) {
            ::close(fd);
        }
        hold.lock();
    }
    for (const auto& [when, fd] : held_) {
        ::close(fd);
    }
    held_.clear();
}

}  // namespace vantic::server
