#pragma once

// The progress of a long operation as the logic reports it: a dialog with
// an overall bar, a per-item bar and text lines, opened over the window
// the operation belongs to. Every update returns the cancelled flag and
// keeps the user interface alive; the operation stops when it is set. A
// closed progress reports cancelled, and its Dialog() is kNoWindow.
// WProgress is the program's; deployments, reports and media uploads
// drive it through this interface.

#include <cstdint>
#include <string>

#include "platform/window.h"

namespace vantic {

// The dialog's layout.
enum class ProgressLayout {
    Operation,  // "Operation Progress...": overall bar, item bar, status and transfer lines
    Simple,     // "Operation Progress...": one bar and its percentage
    Download,   // "Downloading Software Update....": one bar and its percentage
};

// The free text lines of the operation layout.
enum class ProgressLine {
    Status,    // what runs now: "Media Player #4 - Downloading Configuration"
    Transfer,  // a transfer item's rate and time left
};

class OperationProgress {
  public:
    virtual ~OperationProgress() = default;

    // Shows a dialog of layout over owner, which is disabled until Close,
    // with the overall bar at 0 of overallMax.
    virtual bool Open(WindowId owner, ProgressLayout layout, std::uint32_t overallMax) = 0;
    virtual bool SetOverall(std::uint32_t position, std::uint32_t maximum) = 0;
    virtual bool StepOverall() = 0;
    // Starts the item bar at 0 of itemMax; its percentage is not shown.
    virtual bool StartItem(std::uint32_t itemMax) = 0;
    // Starts the item bar at 0 of itemMax bytes, the transfer line telling
    // the bytes sent, the rate and the time left.
    virtual bool StartTransferItem(std::uint32_t itemMax) = 0;
    virtual bool SetItem(std::uint32_t position, std::uint32_t maximum) = 0;
    virtual bool StepItem() = 0;
    virtual bool FinishItem() = 0;
    // Sets a text line; a layout without it shows nothing.
    virtual void SetLine(ProgressLine line, const std::string& text) = 0;
    // Marks the progress cancelled, re-enables the owner and removes the
    // dialog.
    virtual void Close() = 0;
    // Dispatches pending messages; returns the cancelled flag.
    virtual bool PumpMessages() = 0;
    [[nodiscard]] virtual bool Cancelled() const = 0;
    // The dialog, as the owner of messages shown during the operation.
    [[nodiscard]] virtual WindowId Dialog() const = 0;
};

}  // namespace vantic
