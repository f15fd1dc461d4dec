#pragma once

// Modal message boxes: the one way the program reports a failure or asks a
// question. The caller blocks until the user answers.

#include <string>

#include "platform/window.h"

namespace vantic {

enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
// Closing the box without a button counts as Cancel (Yes/No/Cancel), No
// (Yes/No) or Ok (Ok).
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct Message {
    WindowId owner = kNoWindow;  // kNoWindow: owned by the desktop
    std::string text;            // 8-bit; "\r\n" breaks a line
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // Why it failed ("Connection refused by 127.0.0.1:12322"), shown apart
    // from the text; empty when there is nothing to add.
    std::string details = {};
    // For questions whose Yes destroys data: Enter answers No.
    bool noIsDefault = false;
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(const Message& message) = 0;
    // The same box with more text for the curious, shown on request; boxes
    // with no room for it show the message alone.
    virtual MessageAnswer ShowWithDetails(const Message& message, const std::string& details) {
        (void)details;
        return Show(message);
    }
};

}  // namespace vantic
