#include "core/cpstringarray.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "core/cpstring.h"

namespace vantic {

cpStringArray::cpStringArray(std::initializer_list<std::string_view> items) {
    AppendAll(items);
}

cpStringArray cpStringArray::SplitNew(std::string_view text, std::string_view separator) {
    cpStringArray pieces;
    pieces.Split(text, separator);
    return pieces;
}

bool cpStringArray::Append(std::string text) {
    if (!HasRoomForOneMore()) {
        return false;
    }
    if (items_.size() == items_.capacity()) {
        // Grow to 2 x count + 2 slots, as appends would otherwise reallocate
        // at the library's own pace.
        std::size_t wanted = 2 * items_.size() + 2;
        items_.reserve(std::min<std::size_t>(wanted, kMaxCapacity));
    }
    items_.push_back(std::move(text));
    return true;
}

bool cpStringArray::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        va_end(args);
        return false;
    }
    std::string text(static_cast<std::size_t>(needed), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return Append(std::move(text));
}

bool cpStringArray::AppendAll(std::initializer_list<std::string_view> items) {
    for (std::string_view item : items) {
        if (!AppendCopy(item)) {
            return false;
        }
    }
    return true;
}

bool cpStringArray::AppendArray(const cpStringArray& other) {
    if (&other == this) {
        cpStringArray copy = other;
        return AppendArray(copy);
    }
    for (const std::string& item : other.items_) {
        if (!AppendCopy(item)) {
            return false;
        }
    }
    return true;
}

bool cpStringArray::AppendArray(cpStringArray&& other) {
    if (&other == this) {
        return AppendArray(static_cast<const cpStringArray&>(other));
    }
    if (items_.empty()) {
        items_.swap(other.items_);
        return true;
    }
    for (std::string& item : other.items_) {
        if (!Append(std::move(item))) {
            return false;
        }
    }
    return true;
}

bool cpStringArray::InsertFirst(std::string_view text) {
    return InsertAt(0, text);
}

bool cpStringArray::InsertAt(std::size_t index, std::string_view text) {
    if (!HasRoomForOneMore() || index > items_.size()) {
        return false;
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::string(text));
    return true;
}

bool cpStringArray::PadTo(std::size_t n) {
    while (items_.size() < n) {
        if (!Append(std::string())) {
            return false;
        }
    }
    return true;
}

const std::string* cpStringArray::At(std::size_t index) const {
    return index < items_.size() ? &items_[index] : nullptr;
}

std::string* cpStringArray::At(std::size_t index) {
    return index < items_.size() ? &items_[index] : nullptr;
}

const std::string* cpStringArray::Last() const {
    return items_.empty() ? nullptr : &items_.back();
}

std::string_view cpStringArray::TextAt(std::size_t index) const {
    const std::string* item = At(index);
    return item ? std::string_view(*item) : std::string_view();
}

std::optional<std::string> cpStringArray::Pop() {
    if (items_.empty()) {
        return std::nullopt;
    }
    std::string last = std::move(items_.back());
    items_.pop_back();
    return last;
}

std::optional<std::string> cpStringArray::RemoveAt(std::size_t index) {
    if (index >= items_.size()) {
        return std::nullopt;
    }
    std::string removed = std::move(items_[index]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    return removed;
}

std::optional<std::string> cpStringArray::ReplaceAt(std::size_t index, std::string text) {
    if (index >= items_.size()) {
        return std::nullopt;
    }
    std::string old = std::move(items_[index]);
    items_[index] = std::move(text);
    return old;
}

void cpStringArray::Truncate(std::size_t n) {
    if (n < items_.size()) {
        items_.resize(n);  // the block stays allocated
    }
}

std::size_t cpStringArray::CountMatches(std::string_view text) const {
    return static_cast<std::size_t>(
        std::count_if(items_.begin(), items_.end(),
                      [&](const std::string& item) { return EqualsNoCase(item, text); }));
}

void cpStringArray::SortNoCase() {
    std::stable_sort(items_.begin(), items_.end(), [](const std::string& a, const std::string& b) {
        return CompareNoCase(a, b) < 0;
    });
}

void cpStringArray::ForEach(const std::function<void(std::string&)>& apply) {
    for (std::string& item : items_) {
        apply(item);
    }
}

void cpStringArray::TrimLeftAll() {
    ForEach(TrimLeft);
}

void cpStringArray::TrimRightAll() {
    ForEach(TrimRight);
}

std::string cpStringArray::Join(std::string_view separator) const {
    std::size_t total = 0;
    for (const std::string& item : items_) {
        total += item.size() + separator.size();
    }
    std::string joined;
    joined.reserve(total);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (i > 0) {
            joined.append(separator);
        }
        joined.append(items_[i]);
    }
    return joined;
}

bool cpStringArray::Split(std::string_view text, std::string_view separator) {
    if (separator.empty()) {
        return false;
    }
    const std::size_t before = items_.size();
    std::size_t from = 0;
    for (;;) {
        std::size_t at = text.find(separator, from);
        std::string_view piece =
            text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from);
        if (!AppendCopy(piece)) {
            Truncate(before);
            return false;
        }
        if (at == std::string_view::npos) {
            return true;
        }
        from = at + separator.size();
    }
}

bool cpStringArray::SplitLines(std::string_view text) {
    const std::size_t before = items_.size();
    bool appended = true;
    ForEachLine(text, [&](std::string_view line) { appended = appended && AppendCopy(line); });
    if (!appended) {
        Truncate(before);
    }
    return appended;
}

bool cpStringArray::LoadLines(const std::string& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    return bytes && SplitLines(*bytes);
}

bool cpStringArray::SaveLines(const std::string& path, const std::optional<std::string>& tempPath,
                              FileWrites& writes) const {
    const std::string text = Join("\r\n");
    const std::string& target = tempPath ? *tempPath : path;
    // A temporary file is flushed to the disk before it replaces the target,
    // so a crash leaves either the old file or the new one, never a mix.
    if (!WriteWholeFile(target, text, tempPath.has_value(), writes)) {
        RemoveFile(target);
        return false;
    }
    if (!tempPath) {
        return true;
    }
    if (!MoveFileOver(*tempPath, path, writes)) {
        RemoveFile(*tempPath);
        return false;
    }
    return true;
}

}  // namespace vantic
