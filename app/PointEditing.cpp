// Append and Edit: a point typed by hand through the point dialog.
#include "app/AppState.h"
#include "app/Dialogs.h"
#include "points/PointListView.h"
#include "points/PointRecord.h"

void AppState::appendWithDialog() {
    PointRecord point;
    if (platform_->dialogs.runPointDialog(point) && !appendRow(point)) reportNoRoom();
}

// The dialog works on a copy of the row's record; OK gives the row the copy.
void AppState::editSelected() {
    int row = platform_->list.firstSelected();
    if (row < 0 || static_cast<std::size_t>(row) >= points_.size()) return;
    PointRecord point = points_.at(static_cast<std::size_t>(row));
    if (platform_->dialogs.runPointDialog(point)) setRowTexts(point, row);
}
