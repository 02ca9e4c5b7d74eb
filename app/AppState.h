// The one state object of a run and the command routines that act on it.
//
// AppState is platform-free: it reaches the window, the list, the dialogs,
// the files and the serial port only through the Platform it is attached to
// when the main window opens. Every member runs on the user-interface thread.
#pragma once

#include <memory>
#include <string>

#include "app/Platform.h"
#include "link/WorkerHost.h"
#include "points/PointStore.h"

class BytePort;
class CellTexts;
class CoordinateSystem;
class PointRecord;
struct FormatInfo;
struct PointFormat;
struct WriteSettings;
struct InstrumentFamily;

enum class LinkMode { Idle = 0, Receiving = 1, Sending = 2 };

class AppState {
public:
    // What adding a row does to the list: the effects of appendRow, or of
    // insertFrameRow.
    struct NewRowEffects;

    // family: the instrument family the program serves
    // (app/families/InstrumentFamily.h); it outlives the AppState.
    explicit AppState(const InstrumentFamily& family);
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    const InstrumentFamily& family() const { return family_; }
    LinkMode mode() const { return mode_; }
    bool modified() const { return modified_; }
    bool transferRunning() const { return port_ != nullptr; }

    // The points of the run, in list order; the list shows them, and any
    // other view may watch them (PointStore::addObserver).
    const PointStore& points() const { return points_; }

    // Main window (setup and dispatch).
    void attach(Platform& platform);   // opening: port box items, columns
    void detach();                     // the window goes: the platform is no longer used
    bool command(int id);              // true: the window must close
    // Whether command(id) would act now: during a transfer only its own
    // button, About and Close do. The list's menu shows the entries it
    // would not carry out greyed.
    bool commandAllowed(int id) const;
    void pointArrived(const PointRecord& point);  // RUVO_FRAME
    void transferFinished();                  // RUVO_HEAD
    // The worker's failure (RUVO_FAIL): a protocol fault, or None and the
    // platform's text for its error.
    void transferFailed(ProtocolFault fault, const std::string& systemText);
    // A running transfer's progress title (RUVO_TITLE) in the caption.
    void showTransferTitle(const TransferTitle& title);
    void setLinkMode(LinkMode mode);

    // Point list. appendRow and insertFrameRow add a copy of the point as the
    // new last row; false when the store has no room for it (nothing changed).
    // setRowTexts gives a row a new record and shows it.
    void setupColumns();
    bool appendRow(const PointRecord& point);
    void setRowTexts(const PointRecord& point, int row);
    bool insertFrameRow(const PointRecord& point);
    void deleteSelected();
    void clearAll();
    // A row chosen in another view of the points (the plot) becomes what a
    // click on it in the list makes it: the only selected row, focused, and
    // scrolled wholly into view. A row the store does not hold changes
    // nothing.
    void chooseRow(int row);
    // Rows added between these two calls are shown as one change: the end
    // state (last row selected, and focused where its effects focus it, and in
    // view) is the same as adding them one by one.
    void beginRowBatch();
    void endRowBatch();

    // Point editing.
    void appendWithDialog();
    void editSelected();

    // Files.
    void importFile();
    void exportFile();
    // The list written for CAD and GIS (csv, dxf, geojson, landxml, and kml
    // and geojson in WGS 84 after asking for the coordinate system) with the
    // writers of pointlink; leaves modified as it is, as those files cannot
    // be imported again.
    void exportForCadGis();

    // Transfers.
    void startReceive();
    void startSend();
    void cancelSequence();

    // The file name that the file dialogs start with.
    const std::string& fileName() const { return fileName_; }

private:
    friend class AppStateTestAccess;

    void startTransfer(LinkMode mode);
    void failStart(const std::string& systemText);
    void endNormally();
    bool checkSendable();
    void showSystemError(const std::string& systemText);
    void showFileError(int textId, const std::string& file, const std::string& reason);
    bool exportableList(const FormatInfo& format);
    bool writableForCadGis(const PointFormat& format, const WriteSettings& settings, const char* formatName);
    std::unique_ptr<CoordinateSystem> chooseCoordinateSystem();
    void warnOutsideArea(CoordinateSystem& crs);
    std::string text(int id) const;
    std::string faultText(ProtocolFault fault) const;
    void showPointsIn(PointListView& list);
    static std::unique_ptr<CellTexts> makeRowTexts(const InstrumentFamily& family);
    bool addArrivedRow(const PointRecord& point);
    bool addRow(const PointRecord& point, const NewRowEffects& effects);
    std::size_t addRows(const PointRecord* points, std::size_t count);
    void showNewLastRow(const NewRowEffects& effects);
    void reportNoRoom();
    void keepSentNames();

    const InstrumentFamily& family_;
    std::unique_ptr<CellTexts> rowTexts_;  // the list's cells in the family's column order
    PointStore points_;
    Platform* platform_ = nullptr;
    bool modified_ = false;
    LinkMode mode_ = LinkMode::Idle;
    // From the moment a transfer starts to end (its failure or end report,
    // or Cancel) until it is Idle again: its boxes are up, and no command
    // but About and Close may act.
    bool ending_ = false;
    std::string fileName_;
    std::string cadGisFileName_;  // the name the CAD/GIS Save dialog starts with
    std::string crsText_;  // the coordinate system chosen last in this run, as typed
    std::string fileFilter_;  // the file dialogs' list of types
    std::string portName_;
    std::unique_ptr<BytePort> port_;
    // The store has run out of room during this transfer and the user has
    // been told; later points of the same transfer are not told again.
    bool roomReported_ = false;

    // Row batching: while a batch runs, rows go in without per-row selection
    // changes, and the end applies the final selection once.
    bool batching_ = false;
    int batchLastRow_ = -1;
    const NewRowEffects* batchEffects_ = nullptr;
};
