#pragma once

// The colour chooser on QColorDialog: the dialog's sixteen custom colours
// are loaded from and handed back in the chooser's custom colours.

#include "platform/colour_chooser.h"

namespace vantic {

class QtColourChooser final : public ColourChooser {
  public:
    [[nodiscard]] bool ChooseColour(WindowId owner, std::uint32_t& colour,
                                    CustomColours& customs) override;
};

}  // namespace vantic
