#pragma once

// Reading one unit's settings from its instruction file on the server.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/message_box.h"
#include "units/unit_settings.h"

namespace vantic {

inline constexpr const char* kSettingsDownloadFailedText =
    "Error getting config information from server";
inline constexpr const char* kSettingsDownloadFailedCaption = "Communication Error";
inline constexpr const char* kSettingsParseFailedText =
    "Unable to parse server's instruction file\r\nContact your system administrator if this "
    "persists.";
inline constexpr const char* kSettingsParseFailedCaption = "Error Deploying";

// A unit's instruction text: empty when the server holds none, none on
// any other failure, with why in cause (such as
// VenueList::FetchInstructionText).
using InstructionFetch =
    std::function<std::optional<std::string>(std::uint32_t unit, std::string& cause)>;

// Sets every setting line of unit's instruction file into settings, in file
// order, so a later line of a key wins. A unit without a file has no
// settings. A failed download is reported, with its cause in the details,
// only when owner is given; a file that does not parse always is. False on
// either.
[[nodiscard]] bool LoadUnitSettings(MessageBoxes& messages, WindowId owner,
                                    const InstructionFetch& fetch, std::uint32_t unit,
                                    UnitSettings& settings);

}  // namespace vantic
