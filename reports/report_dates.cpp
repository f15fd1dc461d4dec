#include "reports/report_dates.h"

#include <utility>

namespace vantic {

namespace {

constexpr int kFirstPickerYear = 1601;
constexpr int kLastPickerYear = 9999;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

ReportDate ReadDate(WReg& settings, std::string_view yearKey, std::string_view monthKey,
                    std::string_view dayKey, const ReportDate& fallback) {
    return ReportDate{settings.GetInt(yearKey, fallback.year),
                      settings.GetInt(monthKey, fallback.month),
                      settings.GetInt(dayKey, fallback.day)};
}

void WriteDate(WReg& settings, std::string_view yearKey, std::string_view monthKey,
               std::string_view dayKey, const ReportDate& date) {
    (void)settings.SetInt(yearKey, date.year);
    (void)settings.SetInt(monthKey, date.month);
    (void)settings.SetInt(dayKey, date.day);
}

ReportDate ShownDate(const ReportDate& date, const ReportDate& today) {
    return IsCalendarDate(date) ? date : today;
}

}  // namespace

bool IsCalendarDate(const ReportDate& date) {
    return date.year >= kFirstPickerYear && date.year <= kLastPickerYear && date.month >= 1 &&
           date.month <= 12 && date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

ReportDate DateOf(const LocalTime& time) {
    return ReportDate{time.year, time.month, time.day};
}

DateRangeForm OpenDateRangeForm(WReg& settings, const ReportDateRange& current,
                                const ReportDate& today) {
    const ReportDate first =
        ReadDate(settings, kStartYearKey, kStartMonthKey, kStartDayKey, current.first);
    const ReportDate last = ReadDate(settings, kEndYearKey, kEndMonthKey, kEndDayKey, current.last);
    return DateRangeForm{ShownDate(first, today), ShownDate(last, today)};
}

void StoreDateRangeForm(WReg& settings, const DateRangeForm& form, ReportDateRange& range) {
    WriteDate(settings, kStartYearKey, kStartMonthKey, kStartDayKey, form.first);
    range.first = form.first;
    WriteDate(settings, kEndYearKey, kEndMonthKey, kEndDayKey, form.last);
    range.last = form.last;
}

ReportDateRange OrderedRange(const ReportDateRange& range) {
    ReportDateRange ordered = range;
    if (ordered.first > ordered.last) {
        std::swap(ordered.first, ordered.last);
    }
    return ordered;
}

bool ChooseReportDates(DateRangeFormView& view, WindowId owner, WReg& settings,
                       ReportDateRange& range, const ReportDate& today) {
    DateRangeForm form = OpenDateRangeForm(settings, range, today);
    const bool ok = view.RunDateRangeForm(owner, form);
    StoreDateRangeForm(settings, form, range);
    return ok;
}

}  // namespace vantic
