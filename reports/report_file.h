#pragma once

// Writing a finished report to a file the operator named: the bytes go to
// a temporary file beside it, flushed to the disk, which is then renamed
// over the target, so the target is never seen torn or truncated.

#include <string>
#include <string_view>

namespace vantic {

[[nodiscard]] bool WriteReportFile(const std::string& path, std::string_view bytes);

}  // namespace vantic
