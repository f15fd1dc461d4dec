#pragma once

// The colour chooser: a modal dialog in its basic form, offering any
// colour, with a row of custom colours the operator can set. Colours here
// are in the platform's order, 0x00BBGGRR (red in the lowest byte).

#include <array>
#include <cstdint>

#include "platform/window.h"

namespace vantic {

inline constexpr std::size_t kCustomColourCount = 16;
using CustomColours = std::array<std::uint32_t, kCustomColourCount>;

class ColourChooser {
  public:
    virtual ~ColourChooser() = default;
    // Shows the chooser over owner with colour preset; true when the
    // operator confirmed, with colour and customs as they left them. On
    // cancel both stay as given.
    [[nodiscard]] virtual bool ChooseColour(WindowId owner, std::uint32_t& colour,
                                            CustomColours& customs) = 0;
};

}  // namespace vantic
