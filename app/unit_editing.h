#pragma once

// "Edit Selected Unit..." and a double click on a unit row: the unit
// editor over the first selected unit, and on OK its changes deployed to
// that unit alone, quietly.

#include "app/deployment.h"
#include "platform/platform.h"
#include "units/unit_editor_form.h"
#include "units/venue_list.h"

namespace vantic {

struct UnitEditing {
    Platform& platform;  // messages and the clock (the pickers' current time)
    VenueList& venue;
    UnitFormView& editor;
    Deployment& deployment;
    WindowId mainWindow = kNoWindow;
};

// False when nothing is selected, the settings could not be read (the
// operator has been told) or the operator cancelled. After OK the list is
// refreshed in the background whatever the deployment's outcome.
bool EditSelectedUnit(const UnitEditing& editing);

}  // namespace vantic
