// korvellink: Korvel lists show E before N, and a received point enters the
// list by appendRow.
#include <vector>

#include "app/TextFill.h"
#include "app/TextTable.h"
#include "app/families/FamilyTable.h"
#include "link/KorvelWorkers.h"
#include "link/WorkerHost.h"

namespace {

// Text 14 with the frame's counters as they came, character by character:
// the point's number (values 1 to 4), then the total (5 to 8).
std::string receivedTitle(const TextTable& texts, const TransferTitle& title) {
    std::vector<TextValue> values(title.counters.begin(), title.counters.end());
    return fillText(texts.text(kTextKorvelProgress), values);
}

}  // namespace

const InstrumentFamily kKorvelFamily = {
    "Korvel",
    {ListColumn::Name, ListColumn::Mark, ListColumn::E, ListColumn::N, ListColumn::Z},
    ArrivalEntry::AppendRow,
    kKorvelProtocol,
    receivedTitle,
};
