#include "units/unit_filter.h"

#include <algorithm>
#include <unordered_map>

#include "core/cpstring.h"
#include "units/venue_merge.h"

namespace vantic {

namespace {

constexpr std::string_view kStatusPrefix = "status:";
constexpr std::string_view kOwnerPrefix = "owner:";

std::string Folded(std::string_view text) {
    std::string folded(text);
    ToLower(folded);
    return folded;
}

// Whether text contains folded (already lower case), ignoring case; no
// copy is made, so a keystroke over 50,000 units allocates nothing.
bool ContainsFolded(std::string_view text, std::string_view folded) {
    if (folded.empty()) {
        return true;
    }
    const auto found = std::search(text.begin(), text.end(), folded.begin(), folded.end(),
                                   [](char a, char b) { return FoldCase(a) == b; });
    return found != text.end();
}

bool FieldMatches(std::string_view field, std::string_view folded, bool whole) {
    return whole ? EqualsNoCase(field, folded) : ContainsFolded(field, folded);
}

struct Word {
    std::string text;
    bool quoted = false;
};

// Blanks part the words; a double quote starts or ends a stretch in which
// they do not.
std::vector<Word> SplitWords(std::string_view text) {
    std::vector<Word> words;
    Word word;
    bool inQuotes = false;
    bool started = false;
    for (const char c : text) {
        if (c == '"') {
            inQuotes = !inQuotes;
            word.quoted = started = true;
        } else if (IsWhitespace(c) && !inQuotes) {
            if (started) {
                words.push_back(std::move(word));
            }
            word = {};
            started = false;
        } else {
            word.text += c;
            started = true;
        }
    }
    if (started) {
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace

std::string_view OwnerOfNotes(std::string_view notes) {
    const std::size_t close = notes.find(']');
    if (notes.empty() || notes.front() != '[' || close == std::string_view::npos) {
        return {};
    }
    return notes.substr(1, close - 1);
}

UnitFilter::Term UnitFilter::TermOf(std::string_view word, bool quoted) {
    Term term;
    if (StartsWithNoCase(word, kStatusPrefix)) {
        term.where = Where::Status;
        word.remove_prefix(kStatusPrefix.size());
    } else if (StartsWithNoCase(word, kOwnerPrefix)) {
        term.where = Where::Owner;
        word.remove_prefix(kOwnerPrefix.size());
    } else if (word.size() > 1 && word.front() == '#' &&
               std::all_of(word.begin() + 1, word.end(),
                           [](char c) { return c >= '0' && c <= '9'; })) {
        term.where = Where::Number;
        term.number = ParseUnitNumber(word.substr(1));
    }
    term.whole = quoted && term.where != Where::Anywhere;
    term.folded = Folded(word);
    return term;
}

UnitFilter UnitFilter::Parse(std::string_view text) {
    UnitFilter filter;
    filter.text_ = std::string(text);
    for (const Word& word : SplitWords(text)) {
        Term term = TermOf(word.text, word.quoted);
        // "status:" alone, half typed, narrows nothing yet.
        if (term.folded.empty() && !term.whole && term.where != Where::Number) {
            continue;
        }
        filter.terms_.push_back(std::move(term));
    }
    return filter;
}

bool UnitFilter::TermMatches(const Term& term, const UnitRecord& record) {
    switch (term.where) {
        case Where::Number:
            return term.number != 0 && record.Number() == term.number;
        case Where::Status:
            return FieldMatches(record.Field(kStatusField), term.folded, term.whole);
        case Where::Owner:
            return FieldMatches(OwnerOfNotes(record.Field(kNotesField)), term.folded, term.whole);
        case Where::Anywhere:
            break;
    }
    // The owner is part of the notes, so the notes cover it.
    for (const int field : {kUnitNumberField, kNotesField, kStatusField}) {
        if (ContainsFolded(record.Field(field), term.folded)) {
            return true;
        }
    }
    return false;
}

bool UnitFilter::Matches(const UnitRecord& record) const {
    return std::all_of(terms_.begin(), terms_.end(),
                       [&record](const Term& term) { return TermMatches(term, record); });
}

std::vector<bool> UnitFilter::MatchAll(const std::vector<const UnitRecord*>& records) const {
    std::vector<bool> shown;
    shown.reserve(records.size());
    for (const UnitRecord* record : records) {
        shown.push_back(Empty() || (record != nullptr && Matches(*record)));
    }
    return shown;
}

std::vector<UnitRecord> MatchingUnits(std::string_view reply, const UnitFilter& filter) {
    std::vector<UnitRecord> units;
    std::unordered_map<std::uint32_t, std::size_t> placeOf;
    for (const ReplyLine& line : ParseUnitListReply(reply)) {
        const auto [place, added] = placeOf.try_emplace(line.number, units.size());
        if (added) {
            units.emplace_back();
        }
        (void)units[place->second].Apply(line.fields);
    }
    std::erase_if(units, [&filter](const UnitRecord& unit) { return !filter.Matches(unit); });
    return units;
}

}  // namespace vantic
