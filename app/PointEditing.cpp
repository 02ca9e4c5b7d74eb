// Append and Edit: a point typed by hand through the point dialog.
#include "app/AppState.h"
#include "app/Dialogs.h"
#include "points/PointListView.h"
#include "points/PointRecord.h"

void AppState::appendWithDialog() {
    auto* point = new PointRecord;
    if (platform_->dialogs.runPointDialog(*point))
        appendRow(point);  // the list owns it from here
    else
        delete point;
}

void AppState::editSelected() {
    PointListView& list = platform_->list;
    int row = list.firstSelected();
    if (row < 0) return;
    PointRecord* point = list.rowRecord(row);
    if (!point) return;
    if (platform_->dialogs.runPointDialog(*point)) setRowTexts(*point, row);
}
