#pragma once

// Printing: the user picks a printer in the platform's print dialog, then
// the document is laid out page by page, honouring its own page breaks.

#include <string>

#include "platform/window.h"

namespace vantic {

enum class PrintOutcome { Printed, Cancelled, Failed };

class PrintService {
  public:
    virtual ~PrintService() = default;
    // richText is a rich-text document (8-bit, code page 1252).
    virtual PrintOutcome PrintRichText(WindowId owner, const std::string& richText,
                                       const std::string& documentName) = 0;
};

}  // namespace vantic
