#include "units/upload_progress.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/cpstring.h"

namespace vantic {
namespace {

// Beyond a minute the time left is shown in whole minutes, rounded. A
// trickle can promise more minutes than an int holds; those show as the
// largest.
std::string TimeLeft(double seconds) {
    if (seconds <= 60) {
        return FormatNew(" - %d seconds left", std::max(1, static_cast<int>(seconds)));
    }
    const double minutes = std::floor((seconds + 30) / 60);
    return FormatNew(" - %d minutes left",
                     minutes >= INT_MAX ? INT_MAX : static_cast<int>(minutes));
}

}  // namespace

std::string TransferText(std::uint32_t sent, std::uint32_t total, std::int64_t elapsedSeconds) {
    // A clock set back during the upload counts like the first second.
    const double elapsed = elapsedSeconds > 0 ? static_cast<double>(elapsedSeconds) : 0.5;
    const float rate = static_cast<float>(sent * 0.008 / elapsed);  // kbit/sec
    std::string text = FormatNew("%lu of %lu - %.0f kbit/sec", static_cast<unsigned long>(sent),
                                 static_cast<unsigned long>(total), static_cast<double>(rate));
    if (rate > 0 && sent < total) {
        text += TimeLeft(std::trunc((total - sent) / (static_cast<double>(rate) * 125)));
    }
    return text;
}

void UploadProgress::ShowItemText() {
    SetItemLabel(TransferText(ItemPosition(), ItemMaximum(), Time().Now() - ItemStartTime()));
}

}  // namespace vantic
