#include "units/load_unit_settings.h"

#include "playlist/entry_set.h"

namespace vantic {

bool LoadUnitSettings(MessageBoxes& messages, WindowId owner, const InstructionFetch& fetch,
                      std::uint32_t unit, UnitSettings& settings) {
    std::string cause;
    std::optional<std::string> text = fetch(unit, cause);
    if (!text) {
        if (owner != kNoWindow) {
            Message message{owner, kSettingsDownloadFailedText, kSettingsDownloadFailedCaption,
                            MessageIcon::Error};
            message.details = std::move(cause);
            messages.Show(message);
        }
        return false;
    }
    EntrySet set;
    if (!TextToEntrySet(std::move(*text), set)) {
        messages.Show(Message{owner, kSettingsParseFailedText, kSettingsParseFailedCaption,
                              MessageIcon::Error});
        return false;
    }
    settings.SetAll(set.Settings());
    return true;
}

}  // namespace vantic
