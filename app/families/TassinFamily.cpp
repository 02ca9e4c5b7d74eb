// tassinlink: Tassin lists show N before E, and a received point enters the
// list by insertFrameRow.
#include "app/families/FamilyTable.h"
#include "link/TassinWorkers.h"

const InstrumentFamily kTassinFamily = {
    "Tassin",
    {ListColumn::Name, ListColumn::Mark, ListColumn::N, ListColumn::E, ListColumn::Z},
    ArrivalRoad::InsertFrameRow,
    kTassinProtocol,
};
