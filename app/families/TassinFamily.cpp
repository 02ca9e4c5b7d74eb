// tassinlink: Tassin lists show N before E, and a received point enters the
// list by insertFrameRow.
#include "app/TextFill.h"
#include "app/TextTable.h"
#include "app/families/FamilyTable.h"
#include "link/TassinWorkers.h"
#include "link/WorkerHost.h"

namespace {

// Text 21 with the number of points received.
std::string receivedTitle(const TextTable& texts, const TransferTitle& title) {
    return fillText(texts.text(kTextTassinProgress), {title.count});
}

}  // namespace

const InstrumentFamily kTassinFamily = {
    "Tassin",
    {ListColumn::Name, ListColumn::Mark, ListColumn::N, ListColumn::E, ListColumn::Z},
    ArrivalEntry::InsertFrameRow,
    kTassinProtocol,
    receivedTitle,
};
