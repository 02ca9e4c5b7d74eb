// Transfer control: starting a receive or a send on the port named in the
// port box, and the ways a transfer ends other than normally (the user's
// Cancel, a failing port call, a protocol error).
#include "app/AppState.h"
#include "app/MainWindowView.h"
#include "app/MessageBoxes.h"
#include "app/TextTable.h"
#include "app/TextFill.h"
#include "app/TransferTitle.h"
#include "app/families/InstrumentFamily.h"
#include "link/BytePort.h"
#include "link/LinkPlatform.h"
#include "link/LinkProtocol.h"
#include "link/PortName.h"
#include "points/PointRecord.h"

void AppState::startReceive() { startTransfer(LinkMode::Receiving); }

void AppState::startSend() { startTransfer(LinkMode::Sending); }

void AppState::startTransfer(LinkMode mode) {
    if (mode_ == mode) {  // the button reads "Cancel"
        cancelSequence();
        return;
    }
    if (mode_ != LinkMode::Idle) return;
    if (mode == LinkMode::Sending && !checkSendable()) return;  // refused: nothing opened, still Idle

    roomReported_ = false;
    setLinkMode(mode);
    MainWindowView& window = platform_->window;
    window.setCaption(text(kTextOpeningPort));
    portName_ = window.portBoxText().substr(0, kPortNameMax);

    LinkPlatform& link = platform_->link;
    port_ = link.openPort(portName_);
    if (!port_) {
        failStart(link.lastErrorText());
        return;
    }
    WorkerBody worker = mode == LinkMode::Receiving ? family_.link.receive : family_.link.send;
    BytePort& port = *port_;
    WorkerHost& host = link.workerHost();
    if (!link.startWorker([worker, &port, &host] { runGuarded(worker, port, host); })) failStart(link.lastErrorText());
}

void AppState::failStart(const std::string& systemText) {
    ending_ = true;
    showSystemError(systemText);
    cancelSequence();
}

// A send never changes a value on its way: a list the instrument cannot
// take faithfully is refused before the port is opened.
bool AppState::checkSendable() {
    SendRefusal refusal = checkSend(family_.link.limits, points_);
    if (!refusal.refused()) return true;

    std::string message;
    if (refusal.reason == SendRefusal::Reason::TooManyPoints) {
        message = fillText(text(kTextTooManyPoints), {refusal.limit, static_cast<int>(points_.size())});
    } else {
        const PointRecord& point = points_.at(static_cast<std::size_t>(refusal.row));
        message = fillText(text(kTextPointCannotTravel), {refusal.row + 1, point.name});
    }
    platform_->boxes.show(BoxOwner::MainWindow, message, "Error", BoxIcon::Error, BoxButtons::Ok);
    return false;
}

void AppState::showSystemError(const std::string& systemText) {
    platform_->boxes.show(BoxOwner::None, systemText, "Error", BoxIcon::Information, BoxButtons::Ok);
}

// Stops the worker (it touches the port no more once this returns), shows
// the warning, and only then closes the port and returns to Idle. A Cancel
// that comes after the worker's normal end changes nothing: the transfer
// ends as it would have, with the end box alone.
void AppState::cancelSequence() {
    ending_ = true;
    if (platform_->link.stopWorker()) {
        endNormally();
        return;
    }
    keepSentNames();
    platform_->boxes.show(BoxOwner::MainWindow, text(kTextCancelled), "Warning", BoxIcon::Warning, BoxButtons::Ok);
    if (port_) port_->close();
    port_.reset();
    setLinkMode(LinkMode::Idle);
    ending_ = false;
}

// What a send leaves of the points it has sent (a Tassin send takes the
// trailing spaces off their names). The records change here, on the
// user-interface thread, once the worker has ended: no thread writes a
// record that another one reads.
void AppState::keepSentNames() {
    std::size_t sent = static_cast<std::size_t>(platform_->link.takeRowsSent());
    if (!family_.link.afterSend) return;
    for (std::size_t row = 0; row < sent && row < points_.size(); ++row) {
        PointRecord point = points_.at(row);
        if (family_.link.afterSend(point)) points_.replace(row, point);
    }
}

// The worker has ended on an error: its cause first, then the cancel
// sequence. A report that arrives after the transfer already ended, or
// while it is ending another way, is old.
void AppState::transferFailed(ProtocolFault fault, const std::string& systemText) {
    if (mode_ == LinkMode::Idle || ending_) return;
    ending_ = true;
    platform_->link.releaseWorker();
    if (fault != ProtocolFault::None)
        platform_->boxes.show(BoxOwner::MainWindow, faultText(fault), "Error", BoxIcon::None, BoxButtons::Ok);
    else
        showSystemError(systemText);
    cancelSequence();
}

std::string AppState::faultText(ProtocolFault fault) const {
    if (fault == ProtocolFault::TooManyPoints)
        return fillText(text(kTextTooManyPoints), {family_.link.limits.maxPoints, static_cast<int>(points_.size())});
    return text(kTextFrameHeadError);  // the instrument opened the transfer wrongly
}

void AppState::showTransferTitle(const TransferTitle& title) {
    platform_->window.setCaption(transferTitleText(family_, platform_->texts, title));
}
