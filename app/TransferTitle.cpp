#include "app/TransferTitle.h"

#include "app/TextFill.h"
#include "app/TextTable.h"
#include "app/families/InstrumentFamily.h"
#include "link/WorkerHost.h"

std::string transferTitleText(const InstrumentFamily& family, const TextTable& texts, const TransferTitle& title) {
    switch (title.step) {
    case TransferTitle::Step::WaitingForInstrument: return texts.text(kTextWaitSync);
    case TransferTitle::Step::Received: return family.receivedTitle(texts, title);
    case TransferTitle::Step::Sending: return fillText(texts.text(kTextSendProgress), {title.count, title.total});
    }
    return std::string();
}
