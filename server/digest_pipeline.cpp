#include "server/digest_pipeline.h"

#include <algorithm>

namespace vantic::server {

DigestPipeline::DigestPipeline(std::uint64_t size)
    : bufferSize_(static_cast<std::size_t>(std::min<std::uint64_t>(size, kBufferSize))) {
    const std::uint64_t fills = bufferSize_ == 0 ? 1 : (size + bufferSize_ - 1) / bufferSize_;
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>(fills, kBufferCount));
    buffers_.resize(count);  // each is allocated when first needed
    filled_.assign(count, 0);
    // A body that fits one buffer is digested as it is submitted: a thread
    // would cost more than it saves.
    if (size > bufferSize_) {
        thread_ = std::thread([this] { Run(); });
    }
}

DigestPipeline::~DigestPipeline() {
    Stop(true);
}

std::span<std::uint8_t> DigestPipeline::NextBuffer() {
    if (!thread_.joinable()) {
        return Allocated(0);
    }
    std::unique_lock<std::mutex> hold(lock_);
    released_.wait(hold, [this] { return submitted_ - digested_ < buffers_.size(); });
    return Allocated(submitted_ % buffers_.size());
}

std::span<std::uint8_t> DigestPipeline::Allocated(std::size_t index) {
    std::unique_ptr<std::uint8_t[]>& buffer = buffers_[index];
    if (!buffer) {
        buffer = std::make_unique_for_overwrite<std::uint8_t[]>(bufferSize_);
    }
    return {buffer.get(), bufferSize_};
}

void DigestPipeline::Submit(std::size_t count) {
    if (!thread_.joinable()) {
        md5_.Update(ByteView(buffers_.front().get(), count));
        return;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        filled_[submitted_ % buffers_.size()] = count;
        ++submitted_;
    }
    queued_.notify_one();
}

Md5Digest DigestPipeline::Finish() {
    Stop(false);
    return md5_.Finish();
}

void DigestPipeline::Stop(bool abandon) {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        finishing_ = true;
        abandoned_ = abandon;
    }
    queued_.notify_one();
    thread_.join();
}

void DigestPipeline::Run() {
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::size_t count = 0;
        {
            std::unique_lock<std::mutex> hold(lock_);
            queued_.wait(hold, [this] { return finishing_ || digested_ < submitted_; });
            if (abandoned_ || digested_ == submitted_) {
                return;
            }
            const std::size_t index = digested_ % buffers_.size();
            buffer = buffers_[index].get();
            count = filled_[index];
        }
        md5_.Update(ByteView(buffer, count));
        {
            std::lock_guard<std::mutex> hold(lock_);
            ++digested_;
        }
        released_.notify_one();
    }
}

}  // namespace vantic::server
