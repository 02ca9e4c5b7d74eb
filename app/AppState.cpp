// AppState: start-up of the main window, command dispatch, the link mode and
// the handling of the two messages that a transfer or Import hands over.
#include "app/AppState.h"

#include "app/Dialogs.h"
#include "app/FileFilter.h"
#include "app/MainWindowView.h"
#include "app/MessageBoxes.h"
#include "app/TextTable.h"
#include "app/families/InstrumentFamily.h"
#include "link/BytePort.h"
#include "link/LinkPlatform.h"
#include "points/PointListView.h"
#include "points/PointRecord.h"

AppState::AppState(const InstrumentFamily& family) : family_(family), rowTexts_(makeRowTexts(family)) {}

AppState::~AppState() { detach(); }

std::string AppState::text(int id) const { return platform_->texts.text(id); }

void AppState::attach(Platform& platform) {
    platform_ = &platform;
    fileFilter_ = buildFileFilter(platform.texts);
    showPointsIn(platform.list);
    setupColumns();
}

// During a transfer only its own button (then reading "Cancel"), About and
// Close act, as setLinkMode enables them; while a transfer is ending, only
// About and Close. A command that arrives otherwise (posted to the window,
// or queued before the controls changed, and handled inside a box's message
// loop) is ignored.
bool AppState::commandAllowed(int id) const {
    if (id == kIdClose || id == kIdAbout) return true;
    if (ending_) return false;
    switch (mode_) {
    case LinkMode::Receiving: return id == kIdRecv;
    case LinkMode::Sending: return id == kIdSend;
    default: return true;
    }
}

void AppState::detach() {
    if (!platform_) return;
    points_.removeObserver(platform_->list);
    platform_->list.show(nullptr, nullptr);
    platform_ = nullptr;
}

bool AppState::command(int id) {
    if (!commandAllowed(id)) return false;
    switch (id) {
    case kIdClose: return true;
    case kIdImport: importFile(); break;
    case kIdExport: exportFile(); break;
    case kIdRecv: startReceive(); break;
    case kIdSend: startSend(); break;
    case kIdAppend: appendWithDialog(); break;
    case kIdDelete: deleteSelected(); break;
    case kIdEdit: editSelected(); break;
    case kIdClearAll: clearAll(); break;
    case kIdAbout: platform_->dialogs.runAboutBox(); break;
    case kMenuListCadGis: exportForCadGis(); break;
    default: break;  // Escape (2), the port box and anything else: nothing
    }
    return false;
}

// A received point. When the store has no room for it, the receive stops:
// the instrument's later points would find none either. The user hears of
// it once, and the points already in the list stay.
void AppState::pointArrived(const PointRecord& point) {
    bool added = addArrivedRow(point);
    if (added || roomReported_) return;
    roomReported_ = true;
    // Only a receive still running is stopped; one that is ending ends its
    // own way, and a worker that had come to its end already has its end
    // report on the way.
    bool stopping = mode_ == LinkMode::Receiving && !ending_;
    bool endedNormally = stopping && platform_->link.stopWorker();
    reportNoRoom();
    if (stopping && !endedNormally && mode_ == LinkMode::Receiving && !ending_) cancelSequence();
}

// A report that finds the transfer already ending another way changes
// nothing: that end shows its own boxes.
void AppState::transferFinished() {
    if (ending_) return;
    endNormally();
}

void AppState::endNormally() {
    ending_ = true;
    int id = mode_ == LinkMode::Receiving ? kTextReceiveFinished : kTextSendOver;
    platform_->boxes.show(BoxOwner::MainWindow, text(id), "Message", BoxIcon::Information, BoxButtons::Ok);
    // The worker closed the port before it reported the end; closing again
    // only releases our side of it.
    if (port_) port_->close();
    port_.reset();
    platform_->link.releaseWorker();
    keepSentNames();
    setLinkMode(LinkMode::Idle);
    ending_ = false;
}

void AppState::setLinkMode(LinkMode mode) {
    mode_ = mode;
    MainWindowView& window = platform_->window;
    bool idle = static_cast<int>(mode) <= 0;
    if (idle) window.setCaption(text(kTextIdleTitle));

    static const int kEditing[] = {kIdAppend, kIdDelete, kIdEdit, kIdClearAll, kIdPortBox, kIdImport, kIdExport};
    for (int id : kEditing) window.enableControl(id, idle);
    window.enableControl(kIdRecv, mode != LinkMode::Sending);
    window.enableControl(kIdSend, mode != LinkMode::Receiving);

    window.setControlText(kIdRecv, text(mode == LinkMode::Receiving ? kTextCancel : kTextRecvLabel));
    window.setControlText(kIdSend, text(mode == LinkMode::Sending ? kTextCancel : kTextSendLabel));
}
