#pragma once

// The modeless progress dialogs. A dialog is made from one of three fixed
// layouts and addressed by item ids: bars take a percentage (0 to 100),
// labels and text lines take text. Pressing OK (hidden; Enter) or Cancel,
// Escape or the close box reports the button to the owner of the dialog.

#include <functional>
#include <memory>
#include <string>

#include "platform/window.h"

namespace vantic {

namespace progress_layout {
// "Operation Progress...": overall bar and label, item bar, two text lines.
inline constexpr int kOperation = 115;
// "Operation Progress...": one bar and its label.
inline constexpr int kSimple = 116;
// "Downloading Software Update....": one bar and its label.
inline constexpr int kDownload = 128;

inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;

inline constexpr int kOverallBar = 1065;
inline constexpr int kOverallLabel = 1066;
inline constexpr int kItemBar = 1067;
inline constexpr int kStatusLine = 1068;
inline constexpr int kTransferLine = 1069;
}  // namespace progress_layout

class ProgressWindow {
  public:
    // Destroying the object destroys the dialog. This may happen inside the
    // button callback.
    virtual ~ProgressWindow() = default;
    [[nodiscard]] virtual WindowId Id() const = 0;
    [[nodiscard]] virtual bool HasItem(int itemId) const = 0;
    virtual void Show() = 0;
    virtual void SetBar(int barId, int percent) = 0;
    virtual void SetText(int itemId, const std::string& text) = 0;
    // A dialog that prints lines rather than paints (the console) is told
    // every change of a bar: redraws are limited for the sake of painting,
    // and a line printed between two redraws would carry a figure already
    // passed.
    [[nodiscard]] virtual bool TakesEveryUpdate() const { return false; }
};

// Called with progress_layout::kOkButton or kCancelButton.
using ProgressButtonHandler = std::function<void(int buttonId)>;

class ProgressWindows {
  public:
    virtual ~ProgressWindows() = default;
    // A hidden dialog of the given layout owned by owner; null when the
    // layout is unknown or the dialog cannot be made.
    [[nodiscard]] virtual std::unique_ptr<ProgressWindow> Create(
        WindowId owner, int layoutId, ProgressButtonHandler onButton) = 0;
};

}  // namespace vantic
