#pragma once

// A media body is received, written and digested at the same time: the
// connection thread fills a small ring of large buffers from the socket
// and writes each one to the file, while the pipeline's own thread runs
// MD5 over the buffers in order. MD5 cannot be split, so it is what bounds
// a large upload; everything else now happens beside it instead of before
// it. The ring bounds what an upload holds in memory: when every buffer
// still waits for the digest, the receiver sleeps until one is released.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "net/md5.h"

namespace vantic::server {

class DigestPipeline {
  public:
    // 1 MiB in all stays in the cache the digest reads from; larger rings
    // and larger buffers measured slower. The size is a multiple of the
    // protocol's piece, so no piece spans two buffers.
    static constexpr std::size_t kBufferCount = 8;
    static constexpr std::size_t kBufferSize = 128 * 1024;

    // A pipeline for a body of size bytes. Buffers are no larger, and no
    // more numerous, than the body needs; a body that fits one buffer is
    // digested on the caller's thread.
    explicit DigestPipeline(std::uint64_t size);
    // Drops whatever is still queued and stops the thread.
    ~DigestPipeline();
    DigestPipeline(const DigestPipeline&) = delete;
    DigestPipeline& operator=(const DigestPipeline&) = delete;

    // The next buffer to fill; waits until the digest has released it.
    [[nodiscard]] std::span<std::uint8_t> NextBuffer();
    // Queues the first count bytes of the buffer NextBuffer gave. The
    // caller may go on reading the buffer (to write it out) until it asks
    // for the next one.
    void Submit(std::size_t count);
    // Waits for every queued byte and gives the digest of all of them.
    // Called once, after the last Submit.
    [[nodiscard]] Md5Digest Finish();

  private:
    void Run();
    void Stop(bool abandon);
    // Buffer index, allocated on first use, so a body that trickles in
    // holds no more than it has sent.
    [[nodiscard]] std::span<std::uint8_t> Allocated(std::size_t index);

    std::size_t bufferSize_;
    std::vector<std::unique_ptr<std::uint8_t[]>> buffers_;
    std::vector<std::size_t> filled_;  // bytes queued in each buffer

    std::mutex lock_;
    std::condition_variable queued_;    // the digest thread waits for work
    std::condition_variable released_;  // the receiver waits for a buffer
    std::uint64_t submitted_ = 0;       // buffers queued so far
    std::uint64_t digested_ = 0;        // of them, digested
    bool finishing_ = false;            // nothing more comes: digest the rest
    bool abandoned_ = false;            // nothing more is wanted

    Md5 md5_;  // the digest thread's alone, if there is one, until it is joined
    std::thread thread_;
};

}  // namespace vantic::server
