// PlayList as a list: columns and cells, channels, and the edits that come
// from the clip editor, dropped files and the buttons.

#include "playlist/playlist.h"

#include <gtest/gtest.h>

#include "tests/playlist/playlist_support.h"

namespace vantic {
namespace {

using testing::PlayListFixture;
using testing::WriteFileBytes;

using PlayListTest = PlayListFixture;

TEST_F(PlayListTest, AttachingInsertsTheTenColumnsWithTheirRememberedWidths) {
    // The key as config.ini spells it, pinned here once; code uses kPlayWidthsName.
    ASSERT_TRUE(settings.SetInt("Play_Widths_col1", 222));
    testing::ScriptedListControl other;
    PlayList second(settings, platform, editor);
    second.AttachList(&other);
    EXPECT_TRUE(other.GridLines());
    EXPECT_TRUE(other.FullRowSelect());
    const std::vector<std::pair<std::string, int>> expected{
        {"", 30},     {"Media File", 222}, {"Duration", 100}, {"Size", 80},  {"Day", 60},
        {"Time", 60}, {"Start Date", 60},  {"End Date", 60},  {"Audio", 60}, {"Notes", 60}};
    ASSERT_EQ(other.Columns().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(other.Columns()[i].title, expected[i].first);
        EXPECT_EQ(other.ColumnWidth(static_cast<int>(i)), expected[i].second) << i;
        EXPECT_EQ(other.Columns()[i].align, ColumnAlign::Left);
    }
}

TEST_F(PlayListTest, RowsShowTheClipsTexts) {
    const cpStringArray fields{
        "1",         "/media/lobby/menu.jpg",      "12.500000",        "0123abcd", "42 KB",
        "Weekends",  "4/hour from 08:00 to 17:30", "03/05/2006 07:05", "None",     "None",
        "front desk"};
    list.SelectChannel(1);
    list.InsertRow(std::make_unique<ClipRow>(*EntryFromFields(fields)));
    AddClipLine("/media/b.mpg");
    list.NumberColumn(0);
    const std::vector<std::string> first{"1",
                                         "menu.jpg",
                                         "12",
                                         "42 KB",
                                         "Weekends",
                                         "4/hour from 08:00 to 17:30",
                                         "03/05/2006 07:05",
                                         "None",
                                         "None",
                                         "front desk"};
    for (int column = 0; column < 10; ++column) {
        EXPECT_EQ(control.CellText(0, column), first[static_cast<std::size_t>(column)]) << column;
    }
    EXPECT_EQ(control.CellText(1, 0), "2");
    EXPECT_EQ(control.CellText(1, 2), "Auto");
}

TEST_F(PlayListTest, SwitchingChannelsParksTheRowsWithoutMarkingAChange) {
    AddClipLine("/media/a.mpg");
    AddClipLine("/media/b.mpg");
    list.SelectChannel(3);
    EXPECT_EQ(list.ItemCount(), 0);
    AddClipLine("/media/c.wav");
    list.SelectChannel(0);
    EXPECT_EQ(ShownPaths(), (std::vector<std::string>{"/media/a.mpg", "/media/b.mpg"}));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2"}));
    list.SelectChannel(3);
    EXPECT_EQ(ShownPaths(), (std::vector<std::string>{"/media/c.wav"}));
    list.SelectChannel(7);  // no such tab
    EXPECT_EQ(list.Channel(), 3);
    EXPECT_FALSE(list.IsModified());
    EXPECT_EQ(list.ShownClips().size(), 1u);
    EXPECT_EQ(list.ShownClips()[0].path, "/media/c.wav");
}

TEST_F(PlayListTest, DroppedFilesBecomeClipsOnlyWhenTheyAreMedia) {
    list.SelectChannel(2);
    ASSERT_TRUE(WriteFileBytes(dir.File("song.MP3"), std::string(20000, 's')));
    EXPECT_FALSE(list.AddFile(dir.File("list.PLY")));
    EXPECT_FALSE(list.AddFile(dir.File("notes.txt")));
    EXPECT_FALSE(list.IsModified());
    EXPECT_TRUE(list.AddFile(dir.File("song.MP3")));
    EXPECT_TRUE(list.IsModified());
    ASSERT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(list.ClipAt(0)->kind, 2);
    EXPECT_EQ(list.ClipAt(0)->audio, kAudioA);
    EXPECT_EQ(control.CellText(0, 0), "1");
    EXPECT_EQ(control.CellText(0, 1), "song.MP3");
    EXPECT_EQ(control.CellText(0, 3), "19 KB");
}

TEST_F(PlayListTest, AddingAClipGoesThroughTheEditor) {
    const std::string still = dir.File("menu.JPEG");
    ASSERT_TRUE(WriteFileBytes(still, "jpeg"));
    platform.QueueFileChoice(still);
    editor.script.Queue([](ClipForm& form) {
        form.notes = "lobby";
        form.schedule = ScheduleChoice::Frequency;
        form.frequencyText = "75";
        return true;
    });
    AddClipLine("/media/first.mpg");
    ASSERT_TRUE(list.AddClip());

    const ClipForm& opened = editor.script.Opened().at(0);
    EXPECT_EQ(opened.title, "Add a new media clip to this channel");
    EXPECT_EQ(opened.workingPath, still);
    EXPECT_EQ(opened.durationText, "10");
    EXPECT_EQ(editor.owners.at(0), mainWindow);
    EXPECT_EQ(platform.fileDialogs.ShownDialogs().at(0).request.initialPath, "");
    EXPECT_EQ(platform.fileDialogs.ShownDialogs().at(0).request.owner, mainWindow);

    ASSERT_EQ(list.ItemCount(), 2);
    const PlayEntry& clip = *list.ClipAt(1);
    EXPECT_EQ(clip.notes, "lobby");
    EXPECT_EQ(clip.scheduleValue, 60);
    EXPECT_EQ(clip.duration, 10);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(control.CellText(1, 5), "60/hour");
    EXPECT_TRUE(list.IsModified());
}

TEST_F(PlayListTest, CancellingTheDialogOrTheEditorAddsNothing) {
    platform.QueueFileChoice(std::nullopt);
    EXPECT_FALSE(list.AddClip());
    platform.QueueFileChoice(dir.File("any.bin"));  // any file is taken here
    editor.script.QueueCancel();
    EXPECT_FALSE(list.AddClip());
    EXPECT_EQ(editor.script.Opened().at(0).workingPath, dir.File("any.bin"));
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_FALSE(list.IsModified());
}

TEST_F(PlayListTest, EditingChangesTheFirstSelectedClipOnlyOnOk) {
    AddClipLine("/media/a.mpg");
    AddClipLine("/media/b.mpg");
    EXPECT_FALSE(list.EditClip());  // nothing selected

    list.SelectRow(1, true);
    editor.script.QueueCancel();
    EXPECT_FALSE(list.EditClip());
    EXPECT_EQ(list.ClipAt(1)->scheduleMode, ScheduleMode::Loop);
    EXPECT_FALSE(list.IsModified());

    editor.script.Queue([this](ClipForm& form) {
        form.schedule = ScheduleChoice::Time;
        form.time = ClockTime{13, 5};
        form.weekDay = 4;
        return BrowseClipMedia(form, platform.Files(), kNoWindow);
    });
    platform.QueueFileChoice("/media/other.avi");
    EXPECT_TRUE(list.EditClip());
    EXPECT_EQ(editor.script.Opened().at(1).title, "Edit media clip entry");
    EXPECT_EQ(list.ClipAt(1)->path, "/media/other.avi");
    EXPECT_EQ(control.CellText(1, 1), "other.avi");
    EXPECT_EQ(control.CellText(1, 4), "Mon");
    EXPECT_EQ(control.CellText(1, 5), "13:05");
    EXPECT_EQ(control.CellText(1, 0), "2");
    EXPECT_EQ(list.ClipAt(0)->path, "/media/a.mpg");
    EXPECT_TRUE(list.IsModified());
}

TEST_F(PlayListTest, CancellingTheEditorAfterBrowseKeepsThePath) {
    AddClipLine("/media/a.mpg");
    list.SelectRow(0, true);
    platform.QueueFileChoice("/media/b.mpg");
    editor.script.Queue([this](ClipForm& form) {
        BrowseClipMedia(form, platform.Files(), kNoWindow);
        return false;
    });
    EXPECT_FALSE(list.EditClip());
    EXPECT_EQ(list.ClipAt(0)->path, "/media/a.mpg");
}

TEST_F(PlayListTest, DeletingAndMovingMarkTheDocument) {
    AddClipLine("/media/a.mpg");
    AddClipLine("/media/b.mpg");
    AddClipLine("/media/c.mpg");
    list.MoveClipsUp();  // nothing selected: still counts as a change
    EXPECT_TRUE(list.IsModified());

    list.SelectRow(2, true);
    list.MoveClipsUp();
    EXPECT_EQ(ShownPaths(),
              (std::vector<std::string>{"/media/a.mpg", "/media/c.mpg", "/media/b.mpg"}));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3"}));

    platform.QueueAnswer(MessageAnswer::No, "PERMANENT DELETE");
    list.DeleteSelectedClips(mainWindow);
    EXPECT_EQ(list.ItemCount(), 3);
    platform.QueueAnswer(MessageAnswer::Yes, "PERMANENT DELETE");
    list.DeleteSelectedClips(mainWindow);
    EXPECT_EQ(ShownPaths(), (std::vector<std::string>{"/media/a.mpg", "/media/b.mpg"}));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(platform.ShownMessages().back().text,
              "Are you sure you want to delete the selected items?");
}

TEST_F(PlayListTest, DeletingNothingLeavesTheDocumentClean) {
    AddClipLine("/media/a.mpg");
    list.DeleteSelectedClips(mainWindow);
    EXPECT_FALSE(list.IsModified());
    EXPECT_TRUE(platform.ShownMessages().empty());
}

}  // namespace
}  // namespace vantic
