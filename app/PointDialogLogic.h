// What the point dialog does when it opens, on OK and on Cancel, apart from
// the window it runs in.
//
// The dialog works on the record it was opened on, in place:
//   open()    shows name and mark as stored and N, E, Z as "%.3lf", then
//             limits the entries to 7, 7, 12, 12, 12 characters (after the
//             texts, so a longer stored name is shown whole);
//   confirm() (OK) takes the entries into the record one after another:
//             name, mark (first word of at most 7 characters; no word keeps
//             the old value), then N, E, Z (at most 29 characters, the
//             number check, then the value as "%lf" reads it; no number keeps
//             the old value). A failed number check stops there; then an
//             empty name shows text 32. Returns true when the dialog may end
//             with 1; false leaves it open with the entries as they are.
//   cancel()  (Cancel, Escape, close box) puts the record back as it was when
//             the dialog opened, so that a failed OK that stored some fields
//             leaves nothing behind that the list does not show.
// Message boxes have no owner window and the caption "ERROR".
#pragma once

#include "points/PointRecord.h"

class PointEntries;
class TextTable;
class MessageBoxes;

class PointDialogLogic {
public:
    PointDialogLogic(PointRecord& point, PointEntries& entries, const TextTable& texts,
                     MessageBoxes& boxes);

    void open();
    bool confirm();
    void cancel();

private:
    bool takeNumber(int id, double& field);

    PointRecord& point_;
    PointEntries& entries_;
    const TextTable& texts_;
    MessageBoxes& boxes_;
    PointRecord original_;
};
