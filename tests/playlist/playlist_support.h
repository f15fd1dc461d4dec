#pragma once

// A PlayList on the scripted platform: an in-memory list control, a main
// window and dialog with the playlist label, settings in a temporary
// folder, and a scripted clip editor.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/entry_fields.h"
#include "playlist/playlist.h"
#include "tests/support/scripted_form_views.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/temp_dir.h"

namespace vantic::testing {

class PlayListFixture : public ::testing::Test {
  protected:
    PlayListFixture() {
        settings.SetSettingsLocation({dir.Path(), {}});
        mainWindow = platform.windows.NewWindow(kNoWindow, Rect{100, 100, 900, 700});
        list.SetWindows(mainWindow, [this](const std::string& line) { titleLine = line; });
        list.AttachList(&control);
    }

    // A clip line of the .PLY format for channel kind.
    static std::string Line(int kind, const std::string& path, const std::string& notes = "") {
        return std::to_string(kind) + "\t" + path + "\tAuto\t\t12 KB\tAll\tloop\tNone\tNone\t" +
               (kind == 3 ? "B" : "A") + "\t" + notes;
    }
    // Adds a clip of the shown channel straight from its line.
    void AddClipLine(const std::string& path, const std::string& notes = "") {
        const cpStringArray fields =
            cpStringArray::SplitNew(Line(list.Channel(), path, notes), "\t");
        ASSERT_TRUE(list.InsertRow(std::make_unique<ClipRow>(*EntryFromFields(fields))) >= 0);
    }
    [[nodiscard]] std::string Label() const { return titleLine; }
    [[nodiscard]] std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (int row = 0; row < control.RowCount(); ++row) {
            cells.push_back(control.CellText(row, column));
        }
        return cells;
    }
    [[nodiscard]] std::vector<std::string> ShownPaths() const {
        std::vector<std::string> paths;
        for (int row = 0; row < list.ItemCount(); ++row) {
            paths.push_back(list.ClipAt(row)->path);
        }
        return paths;
    }

    TempDir dir;
    ScriptedPlatform platform;
    WReg settings;
    ScriptedClipEditor editor;
    ScriptedListControl control;
    WindowId mainWindow = kNoWindow;
    std::string titleLine;  // the line the document last showed
    PlayList list{settings, platform, editor};
};

}  // namespace vantic::testing
