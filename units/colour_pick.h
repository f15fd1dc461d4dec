#pragma once

// Picking a crawl colour: the platform's colour chooser with the sixteen
// custom colours kept in "customcolor.dat" beside the program, so they
// carry over from one unit to the next and from one run to the next.

#include <cstdint>
#include <string>

#include "platform/colour_chooser.h"

namespace vantic {

inline constexpr const char* kCustomColoursFile = "customcolor.dat";
inline constexpr std::size_t kCustomColoursFileSize = kCustomColourCount * 4;

// The file's 64 bytes: each colour little-endian 0x00BBGGRR. A shorter file
// fills the first colours, the rest stay black; a missing one gives black.
[[nodiscard]] CustomColours ReadCustomColours(const std::string& path);
// Replaces the file through a temporary file beside it; never torn.
[[nodiscard]] bool WriteCustomColours(const std::string& path, const CustomColours& colours);

// Swaps red and blue: 0x00RRGGBB <-> 0x00BBGGRR.
[[nodiscard]] constexpr std::uint32_t SwapRedBlue(std::uint32_t colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// colour is 0x00RRGGBB as a swatch holds it. On confirm, colour takes the
// choice and the custom colours are written back (a failed write is
// ignored); on cancel nothing changes and false comes back.
bool PickColour(ColourChooser& chooser, WindowId owner, std::uint32_t& colour);

}  // namespace vantic
