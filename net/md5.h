#pragma once

// MD5 message digest (RFC 1321). Media on the server are known by the MD5
// of their bytes, and update files carry one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "net/bytes.h"
#include "net/progress.h"
#include "platform/file_service.h"

namespace vantic {

using Md5Digest = std::array<std::uint8_t, 16>;

// Bytes read per piece by Md5File; also its whole buffer.
inline constexpr std::size_t kMd5FilePiece = 32768;

// An MD5 computation fed in pieces of any size.
class Md5 {
  public:
    void Update(ByteView data);
    // The digest of everything fed so far. The object must not be fed again.
    [[nodiscard]] Md5Digest Finish();

  private:
    std::uint32_t state_[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    std::uint64_t length_ = 0;
    std::uint8_t pending_[64] = {};
    std::size_t pendingSize_ = 0;
};

[[nodiscard]] Md5Digest Md5Buffer(ByteView data);

// The digest of a file, read 32,768 bytes at a time. `progress` hears
// (0, size) first and (bytes done, size) after every piece; if it answers
// true, the digest fails, even after the last piece. Fails also when the
// file cannot be opened or a read comes up short.
[[nodiscard]] std::optional<Md5Digest> Md5File(const std::string& path,
                                               const ByteProgress& progress = {});

// The same through a file service: the file as it is read, to its end.
[[nodiscard]] std::optional<Md5Digest> Md5File(FileService& files, const std::string& path,
                                               const ByteProgress& progress = {});

}  // namespace vantic
