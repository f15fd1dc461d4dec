// The unit editor's rules: filling the form from a unit's settings, and
// the change list OK builds from it.

#include "units/unit_editor_form.h"

#include <gtest/gtest.h>

#include <map>

namespace vantic {
namespace {

namespace k = unit_key;

constexpr LocalTime kNow{2026, 12, 7, 14, 37, 0, 1};

UnitSettings SettingsOf(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    UnitSettings settings;
    for (const auto& [key, value] : pairs) {
        settings.Set(key, value);
    }
    return settings;
}

// The change list as key order and key -> value.
std::vector<std::string> Keys(const EntryList& list) {
    std::vector<std::string> keys;
    for (const PlayEntry& entry : list) {
        EXPECT_TRUE(entry.isSetting);
        keys.push_back(entry.key);
    }
    return keys;
}

std::map<std::string, std::string> Values(const EntryList& list) {
    std::map<std::string, std::string> values;
    for (const PlayEntry& entry : list) {
        values[entry.key] = entry.value;
    }
    return values;
}

TEST(UnitEditorFormTest, AUnitWithoutSettingsOpensWithTheDefaultsAndOkWritesThemInOrder) {
    const UnitForm form = OpenUnitForm(UnitSettings(), "17", kNow);
    EXPECT_EQ(form.title, "Edit unit number: 17");
    EXPECT_EQ(form.notes, "");
    EXPECT_FALSE(form.crawl || form.videoRandom || form.videoAltRandom || form.audioARandom ||
                 form.audioBRandom || form.restrictPlay || form.restrictUpdate);
    EXPECT_EQ(form.crawlSize, "8");
    EXPECT_EQ(form.crawlSpeed, "5");
    EXPECT_EQ(form.textColour, 0xFFFF00u);
    EXPECT_EQ(form.backgroundColour, 0x000080u);
    EXPECT_EQ(form.playStart, (ClockTime{0, 0}));
    EXPECT_EQ(form.playStop, (ClockTime{23, 59}));
    EXPECT_EQ(form.updateStop, (ClockTime{23, 59}));
    EXPECT_EQ(form.phone, kDefaultModemPhone);
    EXPECT_EQ(form.passwordBox, "********");
    EXPECT_FALSE(form.passwordChanged);
    EXPECT_EQ(UnitFormEnabling(form), (UnitFormEnables{false, false}));

    const EntryList changes = UnitFormChanges(form);
    EXPECT_EQ(Keys(changes),
              (std::vector<std::string>{"notes", "location1", "location2", "location3", "location4",
                                        "VideoRandom", "VideoAltRandom", "AudioARandom",
                                        "AudioBRandom", "crawl", "crawlsize", "crawlspeed",
                                        "crawlforeground", "crawlbackground", "Phone", "Username",
                                        "Password", "RestrictedPlay", "RestrictedUpdate"}));
    auto values = Values(changes);
    EXPECT_EQ(values["crawlforeground"], "ffff00");
    EXPECT_EQ(values["crawlbackground"], "000080");
    EXPECT_EQ(values["Password"], kDefaultModemPassword);
    EXPECT_EQ(values["crawl"], "0");
}

TEST(UnitEditorFormTest, ColoursDecodeLenientlyAndShortValuesKeepThePlaceholders) {
    UnitForm form = OpenUnitForm(
        SettingsOf({{"crawlforeground", "F00"}, {"CRAWLBACKGROUND", "1g2B3cff"}}), "4", kNow);
    EXPECT_EQ(form.textColour, PackRgb(255, 0, 0));               // too short: the red placeholder
    EXPECT_EQ(form.backgroundColour, PackRgb(0x10, 0x2B, 0x3C));  // "g" counts as 0
    EXPECT_EQ(Values(UnitFormChanges(form))["crawlforeground"], "ff0000");
    EXPECT_EQ(Values(UnitFormChanges(form))["crawlbackground"], "102b3c");

    form = OpenUnitForm(SettingsOf({{"crawlbackground", "12"}}), "4", kNow);
    EXPECT_EQ(form.backgroundColour, 0u);  // the black placeholder
}

TEST(UnitEditorFormTest, TimesSetThePickersAndOnlyRestrictedWindowsWriteThem) {
    UnitForm form = OpenUnitForm(SettingsOf({{"RestrictedPlay", " yes "},
                                             {"RestrictedPlayStart", "25:00"},
                                             {"RestrictedPlayStop", " 7 : 5 : 59"},
                                             {"RestrictedUpdateStart", "08:60"},
                                             {"RestrictedUpdateStop", "19"}}),
                                 "4", kNow);
    EXPECT_EQ(UnitFormEnabling(form), (UnitFormEnables{true, false}));
    EXPECT_EQ(form.playStart, (ClockTime{14, 37}));  // invalid: the current time
    EXPECT_EQ(form.playStop, (ClockTime{7, 5}));
    EXPECT_EQ(form.updateStart, (ClockTime{14, 37}));
    EXPECT_EQ(form.updateStop, (ClockTime{14, 37}));

    form.playStop = ClockTime{19, 5};
    auto values = Values(UnitFormChanges(form));
    EXPECT_EQ(values["RestrictedPlay"], "1");
    EXPECT_EQ(values["RestrictedPlayStart"], "14:37");
    EXPECT_EQ(values["RestrictedPlayStop"], "19:05");
    EXPECT_EQ(values["RestrictedUpdate"], "0");
    EXPECT_EQ(values.count("RestrictedUpdateStart"), 0u);
    EXPECT_EQ(values.count("RestrictedUpdateStop"), 0u);
    EXPECT_EQ(UnitFormChanges(form).size(), 21u);
}

TEST(UnitEditorFormTest, NumbersOutsideTheirRangesAreLeftOutAndTextsAreCut) {
    UnitForm form = OpenUnitForm(UnitSettings(), "4", kNow);
    const std::map<std::pair<std::string, std::string>, std::pair<bool, bool>> cases{
        {{"", ""}, {false, false}},
        {{"0", "0"}, {false, false}},
        {{"1", "1"}, {true, true}},
        {{"50", "10"}, {true, true}},
        {{"51", "11"}, {false, false}},
        {{"abc", "x7"}, {false, false}},
        {{"9999999999", "05"}, {false, true}},
    };
    for (const auto& [boxes, written] : cases) {
        form.crawlSize = boxes.first;
        form.crawlSpeed = boxes.second;
        const auto values = Values(UnitFormChanges(form));
        EXPECT_EQ(values.count("crawlsize") == 1, written.first) << boxes.first;
        EXPECT_EQ(values.count("crawlspeed") == 1, written.second) << boxes.second;
    }
    form.crawlSpeed = "05";
    EXPECT_EQ(Values(UnitFormChanges(form))["crawlspeed"], "5");

    form.notes = std::string(100, 'n');
    form.locations[3] = std::string(99, 'l') + "\xe9";
    form.phone = std::string(64, '5');
    const auto values = Values(UnitFormChanges(form));
    EXPECT_EQ(values.at("notes"), std::string(99, 'n'));
    EXPECT_EQ(values.at("location4"), std::string(99, 'l'));
    EXPECT_EQ(values.at("Phone"), form.phone);
}

TEST(UnitEditorFormTest, ThePasswordIsWrittenBackUnlessTheBoxWasFocusedOrEdited) {
    const UnitSettings settings = SettingsOf({{"Password", "s3cret"}});
    UnitForm form = OpenUnitForm(settings, "4", kNow);
    EXPECT_EQ(form.passwordBox, "********");
    EXPECT_EQ(Values(UnitFormChanges(form))["Password"], "s3cret");

    OnPasswordFocus(form);
    EXPECT_EQ(form.passwordBox, "");
    EXPECT_EQ(Values(UnitFormChanges(form))["Password"], "");

    form = OpenUnitForm(settings, "4", kNow);
    OnPasswordEdited(form, "********x");
    EXPECT_EQ(Values(UnitFormChanges(form))["Password"], "********x");

    form = OpenUnitForm(SettingsOf({{"password", ""}}), "4", kNow);
    EXPECT_EQ(form.passwordBox, "");  // nothing to hide
    EXPECT_EQ(Values(UnitFormChanges(form))["Password"], "");
}

}  // namespace
}  // namespace vantic
