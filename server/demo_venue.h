#pragma once

// The demo venue's fixed content: its units, the clips they play and the
// owners they belong to. seed.cpp turns it into a store.

#include <cstdint>
#include <span>
#include <string_view>

namespace vantic::server::demo {

struct Clip {
    std::string_view file;      // file name, also the media's demo content
    int channel;                // 0 Video, 1 Video - Alt, 2 Audio A, 3 Audio B
    std::string_view schedule;  // schedule text
    std::string_view day;       // day selector
    int firstDayOffset;         // days from today of the first day; 0: none
    int lastDayOffset;          // days from today of the last day; 0: none
    std::string_view notes;
};

struct Unit {
    std::uint32_t number;
    std::string_view owner;  // empty: no owner
    std::string_view place;  // notes after the owner
    std::string_view status;
    std::string_view folder;  // media folder on the operator's disk
    std::span<const Clip> clips;
    std::string_view location1;
    std::string_view location2;
    bool operatorSees;  // whether the demo operator account sees the unit
};

[[nodiscard]] std::span<const Unit> Units();

inline constexpr std::string_view kOperatorLogin = "operator";
inline constexpr std::string_view kVersion = "Version: 3.8.2";
// Days of proof-of-play lines a seeded unit has reported, today included.
inline constexpr int kHistoryDays = 30;

}  // namespace vantic::server::demo
