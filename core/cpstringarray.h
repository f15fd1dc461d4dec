#pragma once

// cpStringArray: the owning, ordered list of texts used for the lines of a
// file, the fields of a line and the pieces of a report.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_writes.h"

namespace vantic {

class cpStringArray {
  public:
    // Arrays never hold more elements than this.
    static constexpr std::uint32_t kMaxCapacity = 1073741823;

    cpStringArray() = default;
    cpStringArray(std::initializer_list<std::string_view> items);
    virtual ~cpStringArray() = default;
    cpStringArray(const cpStringArray&) = default;
    cpStringArray& operator=(const cpStringArray&) = default;
    cpStringArray(cpStringArray&&) noexcept = default;
    cpStringArray& operator=(cpStringArray&&) noexcept = default;

    [[nodiscard]] static cpStringArray SplitNew(std::string_view text, std::string_view separator);

    bool Append(std::string text);
    bool AppendCopy(std::string_view text) { return Append(std::string(text)); }
    bool AppendRange(const char* bytes, std::size_t n) { return Append(std::string(bytes, n)); }
    bool AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool AppendAll(std::initializer_list<std::string_view> items);
    bool AppendArray(const cpStringArray& other);
    // The same, taking the other array's strings instead of copying them.
    bool AppendArray(cpStringArray&& other);
    bool InsertFirst(std::string_view text);
    bool InsertAt(std::size_t index, std::string_view text);
    bool PadTo(std::size_t n);

    [[nodiscard]] std::size_t Count() const { return items_.size(); }
    [[nodiscard]] bool Empty() const { return items_.empty(); }
    // The element, or null when index >= Count(). The array keeps ownership.
    [[nodiscard]] const std::string* At(std::size_t index) const;
    [[nodiscard]] std::string* At(std::size_t index);
    [[nodiscard]] const std::string* First() const { return At(0); }
    [[nodiscard]] const std::string* Last() const;
    // Element text, or empty text when index >= Count().
    [[nodiscard]] std::string_view TextAt(std::size_t index) const;

    std::optional<std::string> Pop();
    std::optional<std::string> RemoveAt(std::size_t index);
    // Puts text at index and hands back the old element; nothing changes
    // when index >= Count().
    std::optional<std::string> ReplaceAt(std::size_t index, std::string text);
    void Truncate(std::size_t n);
    void Clear() { Truncate(0); }

    [[nodiscard]] std::size_t CountMatches(std::string_view text) const;
    void SortNoCase();
    void ForEach(const std::function<void(std::string&)>& apply);
    void TrimLeftAll();
    void TrimRightAll();

    [[nodiscard]] std::string Join(std::string_view separator) const;
    // Appends the pieces of text between separators; an empty separator
    // fails. A text ending in the separator gives an empty last piece.
    bool Split(std::string_view text, std::string_view separator);
    // Splits on any line end (CR LF, CR or LF).
    bool SplitLines(std::string_view text);
    [[nodiscard]] bool LoadLines(const std::string& path);
    // Joins with CR LF (no line end after the last element) and writes the
    // file, through tempPath when one is given.
    [[nodiscard]] bool SaveLines(const std::string& path,
                                 const std::optional<std::string>& tempPath,
                                 FileWrites& writes = SystemFileWrites()) const;

    [[nodiscard]] const std::vector<std::string>& Items() const { return items_; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    bool operator==(const cpStringArray& other) const { return items_ == other.items_; }

  private:
    [[nodiscard]] bool HasRoomForOneMore() const { return items_.size() < kMaxCapacity; }

    std::vector<std::string> items_;
};

}  // namespace vantic
