#pragma once

// The date range of the status report, and "Date Range for Report", the
// form that picks it. The range lives for the whole process and is kept
// across runs in six settings; a fresh process starts with all zeros,
// which the form's pickers take as "today".

#include <compare>
#include <string_view>

#include "framework/wreg.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace vantic {

struct ReportDate {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31

    // By year, then month, then day.
    auto operator<=>(const ReportDate&) const = default;
};

struct ReportDateRange {
    ReportDate first;
    ReportDate last;
    bool operator==(const ReportDateRange&) const = default;
};

// The settings the range is kept in (the last year's key is spelled with
// upper-case YEAR).
inline constexpr std::string_view kStartYearKey = "Last_Start_Year";
inline constexpr std::string_view kStartMonthKey = "Last_Start_Month";
inline constexpr std::string_view kStartDayKey = "Last_Start_Day";
inline constexpr std::string_view kEndYearKey = "Last_End_YEAR";
inline constexpr std::string_view kEndMonthKey = "Last_End_Month";
inline constexpr std::string_view kEndDayKey = "Last_End_Day";

inline constexpr std::string_view kDateRangeTitle = "Date Range for Report";
inline constexpr std::string_view kDateRangePrompt =
    "Choose the time period to include in the report...";
inline constexpr int kDateRangeLayout = 124;
inline constexpr int kFirstDayItem = 1027;
inline constexpr int kLastDayItem = 1028;

// Whether the date exists in the calendar (a picker shows it); the pickers'
// years run from 1601 to 9999.
[[nodiscard]] bool IsCalendarDate(const ReportDate& date);
[[nodiscard]] ReportDate DateOf(const LocalTime& time);

// The two pickers.
struct DateRangeForm {
    ReportDate first;
    ReportDate last;
};

// The form as it opens: each picker from its three settings, defaulting to
// the process's current range; a date that cannot be shown leaves the
// picker at today.
[[nodiscard]] DateRangeForm OpenDateRangeForm(WReg& settings, const ReportDateRange& current,
                                              const ReportDate& today);
// What OK and Cancel alike do: the picked dates go to the settings and
// become the process's range.
void StoreDateRangeForm(WReg& settings, const DateRangeForm& form, ReportDateRange& range);

// The range with its dates exchanged when the first comes after the last.
[[nodiscard]] ReportDateRange OrderedRange(const ReportDateRange& range);

class DateRangeFormView {
  public:
    virtual ~DateRangeFormView() = default;
    // Shows the form modal over owner; the pickers start at the form's dates
    // and the form holds the picked dates when it closes, by OK or Cancel.
    // True after OK.
    virtual bool RunDateRangeForm(WindowId owner, DateRangeForm& form) = 0;
};

// Shows the form and keeps the picked dates whichever way it closes; true
// when the operator pressed OK.
[[nodiscard]] bool ChooseReportDates(DateRangeFormView& view, WindowId owner, WReg& settings,
                                     ReportDateRange& range, const ReportDate& today);

}  // namespace vantic
