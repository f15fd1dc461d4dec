#include "playlist/clip_form.h"

#include <gtest/gtest.h>

#include "playlist/entry_fields.h"
#include "tests/support/scripted_platform.h"

namespace vantic {
namespace {

const LocalTime kToday{2024, 5, 17, 9, 41, 0, 5};

// A clip read from a line, as a file would give it.
PlayEntry Clip(const std::string& kind, const std::string& path, const std::string& duration,
               const std::string& schedule, const std::string& first = "None",
               const std::string& last = "None", const std::string& audio = "A") {
    return EntryFromFields(cpStringArray{kind, path, duration, "", "1 KB", "Weekends", schedule,
                                         first, last, audio, "lobby"})
        .value();
}

TEST(OpenClipFormTest, ShowsTheClipsValues) {
    const PlayEntry clip = Clip("0", "/media/promo.mpg", "Auto", "4/hour from 08:00 to 17:30",
                                "03/05/2006 07:05", "12/31/2006", "B");
    const ClipForm form = OpenClipForm(clip, ClipFormMode::Edit, kToday);
    EXPECT_EQ(form.title, "Edit media clip entry");
    EXPECT_EQ(form.schedule, ScheduleChoice::Frequency);
    EXPECT_EQ(form.frequencyText, "4");
    EXPECT_TRUE(form.restrict);
    EXPECT_EQ(form.start, (ClockTime{8, 0}));
    EXPECT_EQ(form.stop, (ClockTime{17, 30}));
    EXPECT_EQ(form.audio, AudioChoice::B);
    EXPECT_EQ(form.firstDay, (DayPicker{DateTime{3, 5, 2006, 7, 5}, true}));
    EXPECT_EQ(form.lastDay, (DayPicker{DateTime{12, 31, 2006, 23, 59}, true}));
    EXPECT_EQ(form.weekDay, 1);
    EXPECT_EQ(form.notes, "lobby");
    EXPECT_EQ(form.workingPath, "/media/promo.mpg");

    const ClipFormEnables enables = ClipFormEnabling(form);
    EXPECT_TRUE(enables.frequencyBox);
    EXPECT_FALSE(enables.timePicker);
    EXPECT_TRUE(enables.restrict);
    EXPECT_TRUE(enables.startStop);
    EXPECT_TRUE(enables.audioChoices);
    EXPECT_FALSE(enables.durationBox);
}

TEST(OpenClipFormTest, ANewClipStartsFromTodayWithTheBoxesOff) {
    const PlayEntry clip = Clip("1", "/media/menu.JPEG", "10", "loop");
    const ClipForm form = OpenClipForm(clip, ClipFormMode::Add, kToday);
    EXPECT_EQ(form.title, "Add a new media clip to this channel");
    EXPECT_EQ(form.schedule, ScheduleChoice::Loop);
    EXPECT_EQ(form.frequencyText, "1");
    EXPECT_FALSE(form.restrict);
    EXPECT_EQ(form.start, (ClockTime{0, 0}));
    EXPECT_EQ(form.stop, (ClockTime{23, 59}));
    EXPECT_EQ(form.firstDay, (DayPicker{DateTime{5, 17, 2024, 0, 0}, false}));
    EXPECT_EQ(form.lastDay, (DayPicker{DateTime{5, 17, 2024, 23, 59}, false}));
    EXPECT_EQ(form.durationText, "10");
    EXPECT_TRUE(ClipFormEnabling(form).durationBox);
    EXPECT_FALSE(ClipFormEnabling(form).frequencyBox);
    EXPECT_FALSE(ClipFormEnabling(form).startStop);
}

TEST(OpenClipFormTest, AFixedTimeClipShowsItsTime) {
    const ClipForm form =
        OpenClipForm(Clip("0", "a.mpg", "Auto", "13:05"), ClipFormMode::Edit, kToday);
    EXPECT_EQ(form.schedule, ScheduleChoice::Time);
    EXPECT_EQ(form.time, (ClockTime{13, 5}));
    EXPECT_TRUE(ClipFormEnabling(form).timePicker);
    EXPECT_FALSE(ClipFormEnabling(form).restrict);
}

TEST(ClipFormOkTest, OpeningAndOkWithoutChangesKeepsTheClip) {
    for (const PlayEntry& clip :
         {Clip("0", "/media/promo.mpg", "Auto", "6/hour from 22:00 to 06:00", "03/05/2006 07:05",
               "02/31/2007 18:00", "None"),
          Clip("1", "/media/menu.jpg", "12.5", "13:05"),
          Clip("3", "/media/song.mp3", "Auto", "loop", "None", "01/01/2030")}) {
        PlayEntry edited = clip;
        ApplyClipFormOk(OpenClipForm(clip, ClipFormMode::Edit, kToday), edited);
        if (clip.duration == 12.5) {
            edited.duration = 12.5;  // the box holds whole seconds only
        }
        EXPECT_EQ(edited, clip) << clip.path;
    }
}

TEST(ClipFormOkTest, FrequencyIsClampedToOneToSixty) {
    PlayEntry clip = Clip("0", "a.mpg", "Auto", "loop");
    ClipForm form = OpenClipForm(clip, ClipFormMode::Edit, kToday);
    form.schedule = ScheduleChoice::Frequency;
    for (auto [text, stored] : {std::pair{"0", 1}, {"75", 60}, {"", 1}, {"-3", 1}, {"12", 12}}) {
        form.frequencyText = text;
        ApplyClipFormOk(form, clip);
        EXPECT_EQ(clip.scheduleMode, ScheduleMode::PerHour);
        EXPECT_EQ(clip.scheduleValue, stored) << text;
        EXPECT_EQ(FormatSchedule(clip), std::to_string(stored) + "/hour");
    }
}

TEST(ClipFormOkTest, ChoosingTimeClearsTheWindow) {
    PlayEntry clip = Clip("0", "a.mpg", "Auto", "loop from 08:00 to 17:30");
    ClipForm form = OpenClipForm(clip, ClipFormMode::Edit, kToday);
    ASSERT_TRUE(form.restrict);
    form.schedule = ScheduleChoice::Time;
    form.time = ClockTime{21, 15};
    ApplyClipFormRules(form);
    EXPECT_FALSE(form.restrict);
    EXPECT_FALSE(ClipFormEnabling(form).restrict);
    EXPECT_FALSE(ClipFormEnabling(form).startStop);

    form.restrict = true;  // a view that skipped the rules still stores no window
    ApplyClipFormOk(form, clip);
    EXPECT_FALSE(clip.restrictHours);
    EXPECT_EQ(FormatSchedule(clip), "21:15");
}

TEST(ClipFormOkTest, AudioIsFixedOnTheAudioChannels) {
    PlayEntry clip = Clip("3", "song.mp3", "Auto", "loop");
    ClipForm form = OpenClipForm(clip, ClipFormMode::Edit, kToday);
    EXPECT_EQ(form.audio, AudioChoice::B);
    EXPECT_FALSE(ClipFormEnabling(form).audioChoices);
    form.audio = AudioChoice::None;
    ApplyClipFormOk(form, clip);
    EXPECT_EQ(clip.audio, kAudioB);

    PlayEntry video = Clip("0", "a.mpg", "Auto", "loop");
    form = OpenClipForm(video, ClipFormMode::Edit, kToday);
    form.audio = AudioChoice::None;
    ApplyClipFormOk(form, video);
    EXPECT_EQ(video.audio, kAudioNone);
}

TEST(ClipFormOkTest, PickersOnStoreTheirDayAndOffKeepOnlyTheDate) {
    PlayEntry clip = Clip("0", "a.mpg", "Auto", "loop", "03/05/2006 07:05");
    ClipForm form = OpenClipForm(clip, ClipFormMode::Edit, kToday);
    form.firstDay.on = false;
    form.lastDay = DayPicker{DateTime{7, 4, 2025, 20, 30}, true};
    form.weekDay = -1;  // nothing selected: the day stays
    form.notes = std::string(150, 'n');
    ApplyClipFormOk(form, clip);
    EXPECT_FALSE(clip.hasFirstDay);
    EXPECT_EQ(clip.firstYear, 2006);
    EXPECT_EQ(LastDayOf(clip), (DateTime{7, 4, 2025, 20, 30}));
    EXPECT_EQ(clip.day, 1);
    EXPECT_EQ(clip.notes.size(), kNotesLength);
}

TEST(ClipFormOkTest, StillImagesKeepAtLeastOneSecondOthersPlayTheirLength) {
    PlayEntry clip = Clip("0", "/media/menu.jpg", "10", "loop");
    ClipForm form = OpenClipForm(clip, ClipFormMode::Edit, kToday);
    for (auto [text, seconds] : {std::pair{"25", 25.0}, {"0", 10.0}, {"", 10.0}, {"x", 10.0}}) {
        form.durationText = text;
        ApplyClipFormOk(form, clip);
        EXPECT_EQ(clip.duration, seconds) << text;
    }
    form.workingPath = "/media/promo.avi";
    form.durationText = "25";
    ApplyClipFormOk(form, clip);
    EXPECT_EQ(clip.duration, 0);
    EXPECT_EQ(clip.path, "/media/promo.avi");
}

TEST(BrowseClipMediaTest, ChangesOnlyTheWorkingPath) {
    testing::ScriptedPlatform platform;
    PlayEntry clip = Clip("0", "/media/menu.jpg", "10", "loop");
    clip.contentName = "0123456789abcdef0123456789abcdef";
    ClipForm form = OpenClipForm(clip, ClipFormMode::Edit, kToday);
    ASSERT_TRUE(ClipFormEnabling(form).durationBox);

    platform.QueueFileChoice(std::nullopt);
    EXPECT_FALSE(BrowseClipMedia(form, platform.Files(), kNoWindow));
    EXPECT_EQ(form.workingPath, "/media/menu.jpg");

    platform.QueueFileChoice("/media/song.mp3");
    const ClipForm before = form;
    EXPECT_TRUE(BrowseClipMedia(form, platform.Files(), kNoWindow));
    EXPECT_EQ(platform.fileDialogs.ShownDialogs().back().request.initialPath, "/media/menu.jpg");
    EXPECT_EQ(platform.fileDialogs.ShownDialogs().back().request.title, "Choose Media File");
    EXPECT_EQ(form.workingPath, "/media/song.mp3");
    form.workingPath = before.workingPath;
    EXPECT_EQ(form, before);

    form.workingPath = "/media/song.mp3";
    EXPECT_FALSE(ClipFormEnabling(form).durationBox);
    ApplyClipFormOk(form, clip);
    EXPECT_EQ(clip.duration, 0);
    EXPECT_EQ(clip.sizeText, "1 KB");
    EXPECT_EQ(clip.contentName, "0123456789abcdef0123456789abcdef");
}

}  // namespace
}  // namespace vantic
