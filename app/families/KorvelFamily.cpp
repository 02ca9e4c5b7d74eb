// korvellink: Korvel lists show E before N, and a received point enters the
// list by appendRow.
#include "app/families/FamilyTable.h"
#include "link/KorvelWorkers.h"

const InstrumentFamily kKorvelFamily = {
    "Korvel",
    {ListColumn::Name, ListColumn::Mark, ListColumn::E, ListColumn::N, ListColumn::Z},
    ArrivalRoad::AppendRow,
    kKorvelProtocol,
};
