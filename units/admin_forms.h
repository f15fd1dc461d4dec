#pragma once

// The forms of the unit administration commands, as plain values with their
// rules: the crawl text and its refresh interval, free key=value settings,
// the time zone and a new owner. Each command's result is a settings change
// list for Deploy, except the owner's, which rewrites the server's owner
// table. The views (Qt, console, scripted) bind widgets to these values.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/window.h"
#include "playlist/entry_set.h"

namespace vantic {

// "Set Crawl Text"
inline constexpr std::string_view kCrawlFormTitle = "Set Crawl Text";
inline constexpr std::string_view kCrawlFileName = "crawl.dat";
inline constexpr std::string_view kLastCrawlRefreshKey = "Last_Crawl_Refresh";
inline constexpr int kDefaultCrawlRefresh = 5;
inline constexpr int kMinCrawlRefresh = 1;
inline constexpr int kMaxCrawlRefresh = 500000;
inline constexpr std::size_t kCrawlRefreshDigits = 5;
// The form's fixed help lines; the addresses are placeholders.
inline constexpr std::array<std::string_view, 3> kCrawlHelpLines{
    "Available keywords: <time> <date> <id> and <version>",
    "RSS source: <rss:http://news.example.com/feed.xml>",
    "Text source: <url:http://www.example.com/crawl.txt>"};

struct CrawlForm {
    std::string text;     // as typed, CR LF line ends included
    std::string refresh;  // the number box: digits, at most kCrawlRefreshDigits
};

// "Admin Configuration Editor"
inline constexpr std::string_view kAdminConfigTitle = "Admin Configuration Editor";
inline constexpr std::string_view kAdminConfigNote =
    "These settings will only be applied to selected units";

struct AdminConfigForm {
    std::string text;
};

// "Set Time Zone"
inline constexpr std::string_view kTimezoneTitle = "Set Time Zone";
inline constexpr std::string_view kTimezonePrompt =
    "Choose a time zone for the selected media players:";

enum class TimeZone { Eastern, Central, Mountain, Pacific, Alaska, Hawaii };

struct TimeZoneChoice {
    TimeZone zone;
    std::string_view label;  // "Central"
    std::string_view path;   // the zone file on the unit
};

[[nodiscard]] std::span<const TimeZoneChoice> TimeZoneChoices();
[[nodiscard]] const TimeZoneChoice& ChoiceOf(TimeZone zone);
// The choice whose label is text, without regard to case.
[[nodiscard]] std::optional<TimeZone> TimeZoneNamed(std::string_view text);

struct TimezoneForm {
    TimeZone zone = TimeZone::Central;
};

// "Enter New Unit Owner"
inline constexpr std::string_view kOwnerFormTitle = "Enter New Unit Owner";
inline constexpr std::string_view kOwnerPrompt = "New owner for selected units:";
inline constexpr std::size_t kOwnerNameLimit = 63;

struct OwnerForm {
    std::string text;
};

// The firmware file chooser.
inline constexpr std::string_view kFirmwareChooserTitle = "Choose Firmware File";
inline constexpr std::string_view kFirmwareFilterName = "Firmware upgrade files";
inline constexpr std::string_view kFirmwareFilterPattern = "*.tgz";

// The refresh message.
inline constexpr std::string_view kRefreshRangeText =
    "Refresh interval must be between 1 and 500000";
inline constexpr std::string_view kRefreshRangeCaption = "ERROR";

// The number box read as a count of minutes: leading digits, empty as 0.
[[nodiscard]] long long RefreshMinutes(std::string_view box);
[[nodiscard]] bool RefreshInRange(long long minutes);

// One setting per line of the form "key=value" whose "=" is not the first
// character; lines end at CR LF, CR or LF and lose their outer blanks, but
// key and value keep the blanks beside the "=". Other lines are skipped.
[[nodiscard]] EntryList AdminConfigChanges(std::string_view text);

// The owner name typed into a box of kOwnerNameLimit characters, with every
// blank (space, tab, CR, LF) taken out; empty when nothing is left.
[[nodiscard]] std::string OwnerNameFrom(std::string_view typed);

// The owner table with owner recorded for each unit (unit 1 excepted), each
// such line moved to the front, ending in a line end. A table that does not
// read as key=value text is returned as it is.
[[nodiscard]] std::string OwnerTableWith(std::string_view table,
                                         std::span<const std::uint32_t> units,
                                         std::string_view owner);

// The change lists the commands deploy.
[[nodiscard]] EntryList CrawlChanges(std::string_view contentName, long long minutes);
[[nodiscard]] EntryList FirmwareChanges(std::string_view contentName);
[[nodiscard]] EntryList TimezoneChanges(TimeZone zone);

// The clip that carries a local file through a media upload; it never
// enters a playlist, only the content name the upload gives it is used.
[[nodiscard]] std::optional<PlayEntry> MediaCarrier(const std::string& path);

// The administration forms on screen. Every press of OK hands the form's
// value and the form's own window to onOk (what it shows while the form is
// open belongs to the form), and the form closes only when onOk returns
// true. True after such an OK, false after Cancel.
template <class Form>
using FormCheck = std::function<bool(const Form&, WindowId form)>;

class AdminFormsView {
  public:
    virtual ~AdminFormsView() = default;
    virtual bool RunCrawlForm(WindowId owner, CrawlForm& form,
                              const FormCheck<CrawlForm>& onOk) = 0;
    virtual bool RunAdminConfigForm(WindowId owner, AdminConfigForm& form,
                                    const FormCheck<AdminConfigForm>& onOk) = 0;
    virtual bool RunTimezoneForm(WindowId owner, TimezoneForm& form,
                                 const FormCheck<TimezoneForm>& onOk) = 0;
    virtual bool RunOwnerForm(WindowId owner, OwnerForm& form,
                              const FormCheck<OwnerForm>& onOk) = 0;
};

}  // namespace vantic
