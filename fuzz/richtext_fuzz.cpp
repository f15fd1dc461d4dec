// Any bytes as report rich text: the HTML is plain ASCII with its markup
// balanced enough that every "<" closes.

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/rich_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    // One page-break mode per input, by its length: mutations reach both,
    // and each run reads the text once.
    const RichTextPageBreaks breaks =
        size % 2 == 0 ? RichTextPageBreaks::Printed : RichTextPageBreaks::Ruled;
    const std::string html = RichTextToHtml(FuzzText(data, size), breaks);
    int open = 0;
    for (const char c : html) {
        FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80 && c != '\0');
        open += c == '<' ? 1 : c == '>' ? -1 : 0;
        FUZZ_CHECK(open == 0 || open == 1);
    }
    FUZZ_CHECK(open == 0);
    return 0;
}
