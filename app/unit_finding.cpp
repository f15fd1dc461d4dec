#include "app/unit_finding.h"

#include <utility>

#include "units/unit_groups.h"

namespace vantic {

namespace {

constexpr const char* kSaveGroupCaption = "Save Filter as Group";
constexpr const char* kDeleteGroupCaption = "Delete Group";

}  // namespace

UnitFinding::UnitFinding(VenueList& venue, WReg& store, MainWindowView& view,
                         MessageBoxes& messages)
    : venue_(venue), store_(store), view_(view), messages_(messages) {}

void UnitFinding::FilterTyped(const std::string& text, bool busyNow) {
    waitingFilter_ = text;
    if (!busyNow) {
        ApplyWaitingFilter();
    }
}

void UnitFinding::ApplyWaitingFilter() {
    if (waitingFilter_ && venue_.SetFilter(UnitFilter::Parse(*waitingFilter_))) {
        waitingFilter_.reset();
    }
}

void UnitFinding::ShowCounts() {
    StatusCounts counts = venue_.CountStatuses();
    std::string text = StatusCountsText(counts);
    if (text != countsShown_) {
        view_.SetStatusCounts(counts);
        countsShown_ = std::move(text);
    }
}

void UnitFinding::ShowGroups() {
    std::vector<std::string> names;
    for (UnitGroup& group : ReadUnitGroups(store_)) {
        names.push_back(std::move(group.name));
    }
    view_.SetUnitGroups(names);
}

void UnitFinding::SelectShownUnits() {
    venue_.SelectShown();
}

void UnitFinding::Tell(const std::string& text, const std::string& caption, MessageIcon icon) {
    messages_.Show(Message{mainWindow_, text, caption, icon, MessageButtons::Ok});
}

void UnitFinding::SaveFilterAsGroup() {
    const std::string filter = venue_.Filter().Text();
    if (venue_.Filter().Empty()) {
        Tell("Type a filter above the unit list first; the group keeps that filter.",
             kSaveGroupCaption, MessageIcon::Warning);
        return;
    }
    const std::optional<std::string> name = view_.AskGroupName(filter);
    if (!name) {
        return;
    }
    if (const std::string problem = GroupNameProblem(*name); !problem.empty()) {
        Tell(problem, kSaveGroupCaption, MessageIcon::Warning);
        return;
    }
    if (FindUnitGroup(store_, *name)) {
        Message question{mainWindow_, "Replace the group \"" + *name + "\"?", kSaveGroupCaption,
                         MessageIcon::Question, MessageButtons::YesNo};
        if (messages_.Show(question) != MessageAnswer::Yes) {
            return;
        }
    }
    if (!SaveUnitGroup(store_, *name, filter)) {
        Tell("The group could not be written to the settings file.", kSaveGroupCaption,
             MessageIcon::Error);
    }
    ShowGroups();  // kept in memory even when the file could not be written
}

void UnitFinding::DeleteGroup(const std::string& name) {
    const std::optional<std::string> filter = FindUnitGroup(store_, name);
    if (!filter) {
        ShowGroups();
        return;
    }
    Message question{
        mainWindow_,
        "Delete the group \"" + name + "\" (" + *filter + ")?\r\nIts units stay as they are.",
        kDeleteGroupCaption, MessageIcon::Question, MessageButtons::YesNo};
    question.noIsDefault = true;
    if (messages_.Show(question) != MessageAnswer::Yes) {
        return;
    }
    if (!DeleteUnitGroup(store_, name)) {
        Tell("The settings file could not be written; the group comes back at the next start.",
             kDeleteGroupCaption, MessageIcon::Error);
    }
    ShowGroups();
}

void UnitFinding::ShowGroup(const std::string& name) {
    if (const std::optional<std::string> filter = FindUnitGroup(store_, name)) {
        view_.SetUnitFilterText(*filter);
    }
}

std::string UnitFinding::HiddenUnitsNote() {
    const int hidden = venue_.HiddenCount();
    if (hidden == 0) {
        return {};
    }
    return "All " + std::to_string(venue_.ItemCount()) + " units, including " +
           std::to_string(hidden) + " not shown by the filter.";
}

}  // namespace vantic
