#include "platform/rich_text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <vector>

#include "platform/codepage.h"

namespace vantic {

namespace {

struct Style {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;
    bool skip = false;  // inside a destination that is not shown
    int unicodeSkip = 1;
    bool operator==(const Style& other) const {
        return bold == other.bold && italic == other.italic && underline == other.underline &&
               halfPoints == other.halfPoints;
    }
};

bool IsSkippedDestination(std::string_view word) {
    // Views, so a word is compared by length first: every control word of
    // a report passes through here.
    static constexpr std::string_view kSkipped[] = {
        "fonttbl",      "colortbl",  "stylesheet",       "info",      "pict",      "header",
        "footer",       "headerl",   "headerr",          "footerl",   "footerr",   "footnote",
        "generator",    "listtable", "object",           "themedata", "datastore", "rsidtbl",
        "latentstyles", "xmlnstbl",  "listoverridetable"};
    return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

class HtmlWriter {
  public:
    explicit HtmlWriter(RichTextPageBreaks pageBreaks) : pageBreaks_(pageBreaks) {}

    std::string Finish() {
        if (!paragraph_.empty()) {
            EndParagraph();
        }
        return "<html><body style=\"font-family:'MS Sans Serif','Microsoft Sans Serif',"
               "sans-serif; white-space:pre-wrap;\">\n" +
               html_ + "</body></html>\n";
    }

    void Character(char32_t c, const Style& style) {
        OpenSpan(style);
        switch (c) {
            case '<':
                paragraph_ += "&lt;";
                return;
            case '>':
                paragraph_ += "&gt;";
                return;
            case '&':
                paragraph_ += "&amp;";
                return;
            default:
                break;
        }
        if (c >= 0x20 && c < 0x7F) {
            paragraph_.push_back(static_cast<char>(c));
        } else if (c == '\t') {
            paragraph_ += "&#9;";
        } else if (c >= 0xA0) {
            paragraph_ += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
        }
    }
    void LineBreak() { paragraph_ += "<br />"; }
    void PageBreak() {
        if (!paragraph_.empty()) {
            EndParagraph();
        }
        pageBreak_ = true;
    }
    void EndParagraph() {
        CloseSpan();
        if (pageBreak_ && pageBreaks_ == RichTextPageBreaks::Ruled) {
            html_ += "<hr />\n";
        }
        html_ += "<p style=\"margin-top:0; margin-bottom:0;";
        if (pageBreak_) {
            html_ += " page-break-before:always;";
        }
        html_ += "\">" + (paragraph_.empty() ? std::string("&nbsp;") : paragraph_) + "</p>\n";
        paragraph_.clear();
        pageBreak_ = false;
    }

  private:
    void OpenSpan(const Style& style) {
        if (spanOpen_ && style == span_) {
            return;
        }
        CloseSpan();
        char size[32];
        std::snprintf(size, sizeof size, "%d%s", style.halfPoints / 2,
                      style.halfPoints % 2 != 0 ? ".5" : "");
        paragraph_ += std::string("<span style=\"font-size:") + size + "pt;";
        if (style.bold) {
            paragraph_ += " font-weight:bold;";
        }
        if (style.italic) {
            paragraph_ += " font-style:italic;";
        }
        if (style.underline) {
            paragraph_ += " text-decoration:underline;";
        }
        paragraph_ += "\">";
        span_ = style;
        spanOpen_ = true;
    }
    void CloseSpan() {
        if (spanOpen_) {
            paragraph_ += "</span>";
            spanOpen_ = false;
        }
    }

    RichTextPageBreaks pageBreaks_;
    std::string html_;
    std::string paragraph_;
    Style span_;
    bool spanOpen_ = false;
    bool pageBreak_ = false;
};

class RichTextReader {
  public:
    RichTextReader(std::string_view text, RichTextPageBreaks pageBreaks)
        : text_(text), writer_(pageBreaks) {}

    std::string Read() {
        while (pos_ < text_.size() && text_[pos_] != '\0') {
            const char c = text_[pos_++];
            if (c == '{') {
                stack_.push_back(style_);
            } else if (c == '}') {
                if (!stack_.empty()) {
                    style_ = stack_.back();
                    stack_.pop_back();
                }
            } else if (c == '\\') {
                Control();
            } else if (c != '\r' && c != '\n') {
                Emit(Cp1252ToUnicode(static_cast<unsigned char>(c)));
            }
        }
        return writer_.Finish();
    }

  private:
    void Emit(char32_t c) {
        if (style_.skip) {
            return;
        }
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        writer_.Character(c, style_);
    }

    void Control() {
        if (pos_ >= text_.size()) {
            return;
        }
        const char c = text_[pos_];
        if (std::isalpha(static_cast<unsigned char>(c))) {
            Word();
            return;
        }
        ++pos_;
        switch (c) {
            case '\'':
                Hex();
                return;
            case '\\':
            case '{':
            case '}':
                Emit(static_cast<char32_t>(c));
                return;
            case '~':
                Emit(0xA0);
                return;
            case '_':
                Emit('-');
                return;
            case '*':
                style_.skip = true;
                return;
            case '\r':
            case '\n':
                Word("par", false, 0);
                return;
            default:
                return;  // optional hyphen and other symbols
        }
    }

    void Hex() {
        int value = 0;
        for (int i = 0; i < 2 && pos_ < text_.size(); ++i) {
            const char h = text_[pos_];
            if (!std::isxdigit(static_cast<unsigned char>(h))) {
                break;
            }
            value = value * 16 + (std::isdigit(static_cast<unsigned char>(h))
                                      ? h - '0'
                                      : std::tolower(static_cast<unsigned char>(h)) - 'a' + 10);
            ++pos_;
        }
        Emit(Cp1252ToUnicode(static_cast<unsigned char>(value)));
    }

    void Word() {
        std::string word;
        while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) {
            word.push_back(text_[pos_++]);
        }
        bool negative = false;
        if (pos_ < text_.size() && text_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        bool hasParameter = false;
        long parameter = 0;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            hasParameter = true;
            parameter = std::min(parameter * 10 + (text_[pos_++] - '0'), 1'000'000L);
        }
        if (negative) {
            parameter = -parameter;
        }
        if (pos_ < text_.size() && text_[pos_] == ' ') {
            ++pos_;  // the delimiter belongs to the word
        }
        Word(word, hasParameter, static_cast<int>(parameter));
    }

    void Word(const std::string& word, bool hasParameter, int parameter) {
        const bool on = !hasParameter || parameter != 0;
        if (IsSkippedDestination(word)) {
            style_.skip = true;
        } else if (style_.skip) {
            return;
        } else if (word == "par") {
            writer_.EndParagraph();
        } else if (word == "page") {
            writer_.PageBreak();
        } else if (word == "line") {
            writer_.LineBreak();
        } else if (word == "tab") {
            Emit('\t');
        } else if (word == "b") {
            style_.bold = on;
        } else if (word == "i") {
            style_.italic = on;
        } else if (word == "ul") {
            style_.underline = on;
        } else if (word == "ulnone") {
            style_.underline = false;
        } else if (word == "fs" && parameter > 0) {
            style_.halfPoints = parameter;
        } else if (word == "plain") {
            style_ = Style{.skip = false, .unicodeSkip = style_.unicodeSkip};
        } else if (word == "uc" && parameter >= 0) {
            style_.unicodeSkip = parameter;
        } else if (word == "u") {
            Emit(static_cast<char32_t>(parameter < 0 ? parameter + 65536 : parameter));
            pendingSkip_ = style_.unicodeSkip;
        } else {
            Symbol(word);
        }
    }

    void Symbol(const std::string& word) {
        static const struct {
            const char* word;
            char32_t c;
        } kSymbols[] = {{"emdash", 0x2014},    {"endash", 0x2013},  {"bullet", 0x2022},
                        {"lquote", 0x2018},    {"rquote", 0x2019},  {"ldblquote", 0x201C},
                        {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002}};
        for (const auto& symbol : kSymbols) {
            if (word == symbol.word) {
                Emit(symbol.c);
                return;
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    Style style_;
    std::vector<Style> stack_;
    int pendingSkip_ = 0;
    HtmlWriter writer_;
};

}  // namespace

std::string RichTextToHtml(std::string_view richText, RichTextPageBreaks pageBreaks) {
    return RichTextReader(richText, pageBreaks).Read();
}

}  // namespace vantic
