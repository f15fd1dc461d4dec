#include "qt/qt_colour_chooser.h"

#include "qt/qt_blocking_calls.h"

#include <QColorDialog>

#include "qt/qt_dialogs.h"
#include "qt/qt_window.h"

namespace vantic {
namespace {

// The platform order: red in the lowest byte.
QColor FromBgr(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

std::uint32_t ToBgr(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

}  // namespace

bool QtColourChooser::ChooseColour(WindowId owner, std::uint32_t& colour, CustomColours& customs) {
    return AskOnUiThread(false, [&]() -> bool {
        for (std::size_t i = 0; i < customs.size(); ++i) {
            QColorDialog::setCustomColor(static_cast<int>(i), FromBgr(customs[i]));
        }
        QWidget* ownerWidget = WidgetOf(owner);
        // Qt's dialog has no basic (collapsed) form to open in: it always shows
        // the basic and custom colour grids beside the full-spectrum picker.
        QColorDialog dialog(FromBgr(colour), ownerWidget);
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        PlaceDialog(dialog, ownerWidget);
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        colour = ToBgr(dialog.selectedColor());
        for (std::size_t i = 0; i < customs.size(); ++i) {
            customs[i] = ToBgr(QColorDialog::customColor(static_cast<int>(i)));
        }
        return true;
    });
}

}  // namespace vantic
