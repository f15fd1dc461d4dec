#pragma once

// UploadProgress: the progress dialog of operations that upload media. Its
// item label tells the bytes sent, the rate and the time left.

#include <cstdint>
#include <string>

#include "framework/wprogress.h"

namespace vantic {

// The transfer text for `sent` of `total` bytes, `elapsedSeconds` after the
// upload started:
//   "400000 of 1000000 - 320 kbit/sec - 15 seconds left"
//   "1000 of 1000000 - 8 kbit/sec - 17 minutes left"
//   "1000000 of 1000000 - 800 kbit/sec" (done, or nothing sent yet)
// Less than a whole second counts as half a second.
[[nodiscard]] std::string TransferText(std::uint32_t sent, std::uint32_t total,
                                       std::int64_t elapsedSeconds);

// The dialog of operations that upload media: its item line tells the
// transfer.
class UploadProgress final : public WProgress {
  public:
    using WProgress::WProgress;

    // The transfer text of the item position (bytes sent) and maximum
    // (file size) since the item started.
    void ShowItemText() override;
};

}  // namespace vantic
