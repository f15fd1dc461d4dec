#include "app/unit_editing.h"

#include "units/load_unit_settings.h"

namespace vantic {

bool EditSelectedUnit(const UnitEditing& editing) {
    VenueList& venue = editing.venue;
    const int row = venue.FirstSelected();
    if (row < 0) {
        return false;
    }
    std::string unitText;
    std::uint32_t unit = 0;
    {
        VenueHold hold(venue);
        if (const UnitRecord* record = venue.RecordAt(row)) {
            unitText = std::string(record->Field(kUnitNumberField));
            unit = record->Number();
        }
    }
    if (unit == 0) {
        return false;  // a row without a unit number names no unit
    }
    UnitSettings settings;
    const InstructionFetch fetch = [&venue](std::uint32_t number, std::string& cause) {
        return venue.FetchInstructionText(number, &cause);
    };
    if (!LoadUnitSettings(editing.platform.Messages(), editing.mainWindow, fetch, unit, settings)) {
        return false;
    }
    UnitForm form = OpenUnitForm(settings, unitText, editing.platform.Time().LocalNow());
    if (!editing.editor.RunUnitEditor(editing.mainWindow, form)) {
        return false;
    }
    // The list shows the edited unit alone selected; the changes go to that
    // unit by its number, wherever a refresh during the editing moved its row.
    venue.SelectOnlyUnit(unit);
    (void)editing.deployment.Deploy(
        DeployRequest::Settings(DeployTo::Unit(unit), UnitFormChanges(form)).Quiet());
    (void)venue.RefreshInBackground();
    return true;
}

}  // namespace vantic
