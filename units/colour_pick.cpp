#include "units/colour_pick.h"

#include <fstream>

#include "core/cpstring.h"
#include "framework/program_path.h"

namespace vantic {

CustomColours ReadCustomColours(const std::string& path) {
    CustomColours colours{};
    std::ifstream file(path, std::ios::binary);
    char bytes[kCustomColoursFileSize] = {};
    file.read(bytes, sizeof bytes);  // a short file leaves the rest zero
    for (std::size_t i = 0; i < kCustomColourCount; ++i) {
        const auto* value = reinterpret_cast<const unsigned char*>(bytes + i * 4);
        colours[i] = static_cast<std::uint32_t>(value[0]) |
                     (static_cast<std::uint32_t>(value[1]) << 8) |
                     (static_cast<std::uint32_t>(value[2]) << 16) |
                     (static_cast<std::uint32_t>(value[3]) << 24);
    }
    return colours;
}

bool WriteCustomColours(const std::string& path, const CustomColours& colours) {
    std::string bytes;
    bytes.reserve(kCustomColoursFileSize);
    for (std::uint32_t colour : colours) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<char>((colour >> shift) & 0xFFu));
        }
    }
    // A temporary named for this process: two controllers saving at once
    // never write into the same temporary.
    return ReplaceWholeFile(path, bytes);
}

bool PickColour(ColourChooser& chooser, WindowId owner, std::uint32_t& colour) {
    const std::optional<std::string> path = WritableFilePath(kCustomColoursFile);
    CustomColours customs = path ? ReadCustomColours(*path) : CustomColours{};
    std::uint32_t chosen = SwapRedBlue(colour);
    if (!chooser.ChooseColour(owner, chosen, customs)) {
        return false;
    }
    colour = SwapRedBlue(chosen) & 0xFFFFFFu;
    if (path) {
        (void)WriteCustomColours(*path, customs);  // the colours are a convenience
    }
    return true;
}

}  // namespace vantic
