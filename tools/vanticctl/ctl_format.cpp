#include "tools/vanticctl/ctl_format.h"

#include <ctime>

#include "core/cpstring.h"
#include "core/cpstringarray.h"

namespace vantic::ctl {
namespace {

constexpr std::size_t kUnitFields = 5;

// True when the text starts with decimal digits that are not all zeros:
// the unit number of a row.
bool StartsWithPositiveNumber(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        if (c != '0') {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string FormatUnitList(std::string_view reply) {
    cpStringArray lines;
    lines.SplitLines(reply);
    std::string out;
    for (const std::string& line : lines) {
        cpStringArray fields = cpStringArray::SplitNew(line, "\t");
        if (!StartsWithPositiveNumber(fields.TextAt(0))) {
            continue;
        }
        for (std::size_t i = 0; i < kUnitFields; ++i) {
            if (i > 0) {
                out += '\t';
            }
            out += fields.TextAt(i);
        }
        out += '\n';
    }
    return out;
}

std::string CallInTimeText(std::int64_t seconds) {
    if (seconds == 0) {
        return "Unknown";
    }
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    char text[64] = {};
    if (localtime_r(&time, &local) == nullptr ||
        std::strftime(text, sizeof text, "%a %b %d %H:%M:%S %Y", &local) == 0) {
        return "Unknown";
    }
    return text;
}

std::string FormatTiming(const TimingInfo& info) {
    std::string out;
    for (std::size_t i = 0; i < info.words.size(); ++i) {
        out += FormatNew("%zu\t%u", i, static_cast<unsigned>(info.words[i]));
        if (i == 1) {
            out += "\tlast call-in\t" + CallInTimeText(info.LastCallIn());
        } else if (i == 4) {
            out += "\tnext call-in\t" + CallInTimeText(info.NextCallIn());
        }
        out += '\n';
    }
    return out;
}

}  // namespace vantic::ctl
