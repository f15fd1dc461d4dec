#pragma once

// cpConfig: an ordered list of key=value lines. Keys match regardless of
// case; lookups take the first matching line, and Set leaves one line for
// its key at the top, so the most recently set key comes first. Lines
// without "=" are carried along unchanged.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/cpstringarray.h"

namespace vantic {

class cpConfig : public cpStringArray {
  public:
    cpConfig() = default;

    // Appends the text's lines, trimmed, with blanks around the first "="
    // squeezed out.
    bool ParseText(std::string_view text);
    [[nodiscard]] static cpConfig FromText(std::string_view text);
    // A missing or unreadable file gives an empty record.
    [[nodiscard]] static cpConfig LoadFile(const std::string& path);

    // LF-joined text ending in one line end (none for an empty record).
    [[nodiscard]] std::string ToText();
    // CR LF-joined file ending in one line end, written through tempPath and
    // moved over path; a failure leaves the earlier file as it was.
    [[nodiscard]] bool SaveFile(const std::string& path, const std::string& tempPath,
                                FileWrites& writes = SystemFileWrites());

    // The value of the first line of key, or fallback.
    [[nodiscard]] std::string Get(std::string_view key, std::string_view fallback = {}) const;
    [[nodiscard]] std::optional<std::string> Find(std::string_view key) const;
    [[nodiscard]] bool GetBool(std::string_view key, bool fallback) const;
    bool Set(std::string_view key, std::string_view value);
    void RemoveKey(std::string_view key);
    // Every key beginning with prefix (case ignored) with its value, in the
    // record's order; a key set twice counts once, with the value lookups see.
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> EntriesStartingWith(
        std::string_view prefix) const;

  private:
    void AddFinalEmptyLine();
};

// Squeezes the whitespace around the first "=" of a line.
void NormalizeKeyLine(std::string& line);
// True for a non-zero leading integer, or exactly "y", "yes", "ok", "sure"
// or "true" (trimmed, any case).
[[nodiscard]] bool ParseBool(std::string_view text);
// The standard text-to-integer reading: leading blanks, optional sign,
// digits; anything else ends the number, no digits gives 0.
[[nodiscard]] long long LeadingInteger(std::string_view text);

}  // namespace vantic
