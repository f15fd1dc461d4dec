// The upload digest pipeline: whatever the size of the body and of the
// pieces handed over, the digest is the MD5 of the bytes in their order,
// the ring never grows, and a pipeline dropped halfway stops at once.

#include "server/digest_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>
#include <random>
#include <set>
#include <string>

namespace vantic::testing {
namespace {

using server::DigestPipeline;

std::string RandomBytes(std::size_t size) {
    std::mt19937 generator(static_cast<unsigned>(size));
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator());
    }
    return bytes;
}

// Feeds body through a pipeline the way the server does, at most fill
// bytes per buffer, and notes every buffer it was given.
Md5Digest ThroughPipeline(const std::string& body, std::size_t fill,
                          std::set<const std::uint8_t*>* buffers = nullptr) {
    DigestPipeline pipeline(body.size());
    for (std::size_t done = 0; done < body.size();) {
        const std::span<std::uint8_t> buffer = pipeline.NextBuffer();
        const std::size_t count = std::min({fill, buffer.size(), body.size() - done});
        std::memcpy(buffer.data(), body.data() + done, count);
        pipeline.Submit(count);
        if (buffers != nullptr) {
            buffers->insert(buffer.data());
        }
        done += count;
    }
    return pipeline.Finish();
}

TEST(DigestPipeline, DigestsBodiesOfEverySizeInOrder) {
    constexpr std::size_t kBuffer = DigestPipeline::kBufferSize;
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, kBuffer - 1,
                             kBuffer, kBuffer + 1, 9 * kBuffer + 4099}) {
        const std::string body = RandomBytes(size);
        EXPECT_EQ(ThroughPipeline(body, kBuffer), Md5Buffer(AsBytes(body))) << size;
    }
    // Small fills reuse each buffer many times over.
    const std::string body = RandomBytes(3 * kBuffer + 77);
    EXPECT_EQ(ThroughPipeline(body, 1000), Md5Buffer(AsBytes(body)));
}

TEST(DigestPipeline, HoldsNoMoreThanTheRingOrTheBodyNeeds) {
    std::set<const std::uint8_t*> buffers;
    const std::string body = RandomBytes(40 * DigestPipeline::kBufferSize);
    EXPECT_EQ(ThroughPipeline(body, DigestPipeline::kBufferSize, &buffers),
              Md5Buffer(AsBytes(body)));
    EXPECT_EQ(buffers.size(), DigestPipeline::kBufferCount);

    buffers.clear();
    EXPECT_EQ(ThroughPipeline("small", 2, &buffers), Md5Buffer(AsBytes("small")));
    EXPECT_EQ(buffers.size(), 1u);
    DigestPipeline small(100);
    EXPECT_EQ(small.NextBuffer().size(), 100u);
}

TEST(DigestPipeline, StopsWhenDroppedHalfway) {
    // Every buffer queued and more announced, or nothing queued at all:
    // dropping the pipeline must not wait for the rest of the body.
    auto dropped = std::async(std::launch::async, [] {
        DigestPipeline full(100 * DigestPipeline::kBufferSize);
        for (std::size_t i = 0; i < DigestPipeline::kBufferCount; ++i) {
            const std::span<std::uint8_t> buffer = full.NextBuffer();
            std::fill(buffer.begin(), buffer.end(), std::uint8_t{0x5a});
            full.Submit(buffer.size());
        }
        DigestPipeline idle(100 * DigestPipeline::kBufferSize);
    });
    EXPECT_EQ(dropped.wait_for(std::chrono::seconds(20)), std::future_status::ready);
}

}  // namespace
}  // namespace vantic::testing
