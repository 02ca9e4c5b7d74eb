// Fakes of every platform service AppState uses, held in memory, and a
// fixture that attaches an AppState of any instrument family to them.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../PointDialogFakes.h"
#include "Points.h"
#include "app/AppState.h"
#include "app/CrsChoice.h"
#include "app/Dialogs.h"
#include "app/FileDialogs.h"
#include "app/MainWindowView.h"
#include "app/families/FamilyTable.h"
#include "files/FileSystem.h"
#include "link/LinkPlatform.h"
#include "link/WorkerHost.h"
#include "points/PointListView.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

struct FakeRow {
    bool selected = false;
    bool focused = false;
};

// A list view as a virtual list control is one: it keeps a row's selected
// and focused states, follows the store's notifications (inside a batch only
// at its end), and makes a row's cells from the store when they are asked for.
class FakeListView : public PointListView {
public:
    void show(const PointStore* shown, const CellTexts* cellTexts) override {
        store = shown;
        texts = cellTexts;
        rows.assign(store ? store->size() : 0, FakeRow{});
    }
    void rowsAdded(std::size_t first, std::size_t count) override {
        ++additions;
        if (batches > 0) return;
        if (first != rows.size()) ADD_FAILURE() << "rows added at " << first << " to a list of " << rows.size();
        rows.resize(first + count);
    }
    void rowChanged(std::size_t row) override { changed.push_back(static_cast<int>(row)); }
    void rowRemoved(std::size_t row) override { rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row)); }
    void allRemoved() override { rows.clear(); }
    int firstSelected() override {
        ++searches;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].selected) return static_cast<int>(i);
        return -1;
    }
    void setSelected(int row, bool selected) override { rows.at(row).selected = selected; }
    void setFocused(int row) override {
        for (FakeRow& r : rows) r.focused = false;
        rows.at(row).focused = true;
    }
    void ensureVisible(int row, bool partialOk) override {
        if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) ADD_FAILURE() << "no row " << row << " to show";
        visible.push_back({row, partialOk});
    }
    void setColumns(const std::string (&h)[5], const int (&w)[5]) override {
        headers.assign(h, h + 5);
        widths.assign(w, w + 5);
    }
    void beginBatch() override { ++batches; }
    void endBatch() override {
        --batches;
        rows.resize(store ? store->size() : 0);
    }

    // The record a row shows, and its cells as the list asks for them.
    const PointRecord& record(int row) const {
        rows.at(row);  // the list must know the row
        return store->at(static_cast<std::size_t>(row));
    }
    std::vector<std::string> cells(int row) const {
        std::vector<std::string> out;
        for (int column = 0; column < 5; ++column) out.push_back(texts->text(record(row), column));
        return out;
    }

    const PointStore* store = nullptr;
    const CellTexts* texts = nullptr;
    std::vector<FakeRow> rows;
    std::vector<std::string> headers;
    std::vector<int> widths;
    std::vector<std::pair<int, bool>> visible;
    std::vector<int> changed;
    int additions = 0;
    int searches = 0;
    int batches = 0;
};

class FakeWindow : public MainWindowView {
public:
    void setCaption(const std::string& text) override { caption = text; }
    void enableControl(int id, bool on) override { enabled[id] = on; }
    void setControlText(int id, const std::string& text) override { texts[id] = text; }
    std::string portBoxText() override { return portBox; }

    std::string caption = "template caption";
    std::string portBox = "COM1";
    std::map<int, bool> enabled;
    std::map<int, std::string> texts;
};

// Runs each dialog through a script: the next answer decides OK or Cancel,
// and an optional edit changes the record as a user would.
class FakeDialogs : public Dialogs {
public:
    bool runPointDialog(PointRecord& point) override {
        ++pointDialogs;
        if (answers.empty()) return false;
        auto answer = answers.front();
        answers.pop_front();
        if (answer.edit) answer.edit(point);
        return answer.ok;
    }
    void runAboutBox() override { ++aboutBoxes; }
    // The coordinate-system dialog: the next answer's texts are typed one
    // after another, each followed by OK; the first that the choice takes
    // ends it with OK, else it ends with Cancel. Every line the dialog
    // shows goes into crsLines.
    bool runCrsDialog(CrsChoice& choice, std::string& text) override {
        crsStarts.push_back(text);
        crsLines.push_back(choice.describe(text));
        if (crsAnswers.empty()) return false;
        const std::vector<std::string> typed = crsAnswers.front();
        crsAnswers.pop_front();
        for (const std::string& entry : typed) {
            crsLines.push_back(choice.describe(entry));
            std::string shown;
            const bool taken = choice.confirm(entry, shown);
            crsLines.push_back(shown);
            if (taken) {
                text = entry;
                return true;
            }
        }
        return false;
    }

    struct Answer {
        bool ok;
        std::function<void(PointRecord&)> edit;
    };
    std::deque<Answer> answers;
    int pointDialogs = 0;
    int aboutBoxes = 0;
    std::deque<std::vector<std::string>> crsAnswers;
    std::vector<std::string> crsStarts;  // what the entry started with, each time
    std::vector<std::string> crsLines;
};

// The file dialogs and the file system in one: the dialogs pick from a
// script, the files are real ones in the test's folder.
class FakeFileDialogs : public FileDialogs, public FileSystem {
public:
    bool chooseOpenFile(std::string& fileName, const std::string& filter, FileChoice& choice) override {
        return choose(fileName, filter, choice, opens);
    }
    bool chooseSaveFile(std::string& fileName, const std::string& filter, FileChoice& choice) override {
        return choose(fileName, filter, choice, saves);
    }
    // A name is taken when a file exists there (or while takenNames counts
    // down, as if one did).
    std::FILE* createNewFile(const std::string& path, bool& taken) override {
        created.push_back(path);
        taken = false;
        if (takenNames > 0) {
            --takenNames;
            taken = true;
            return nullptr;
        }
        if (failCreate) return nullptr;
        std::FILE* file = std::fopen(path.c_str(), "wbx");
        taken = !file && errno == EEXIST;
        return file;
    }
    bool replaceFile(const std::string& temp, const std::string& target) override {
        replaced.push_back({temp, target});
        if (failReplace) return false;
        return std::rename(temp.c_str(), target.c_str()) == 0;
    }
    std::string lastErrorText() override { return "system reason"; }

    struct Pick {
        bool ok;
        std::string name;
        int filterIndex;
    };
    std::deque<Pick> picks;
    std::vector<std::string> opens, saves;  // the names each dialog started with
    std::string lastFilter;
    std::vector<std::string> created;  // every name createNewFile was asked for
    std::vector<std::pair<std::string, std::string>> replaced;  // (temp, target)
    int takenNames = 0;
    bool failCreate = false;
    bool failReplace = false;

private:
    bool choose(std::string& fileName, const std::string& filter, FileChoice& choice, std::vector<std::string>& log) {
        log.push_back(fileName);
        lastFilter = filter;
        if (picks.empty()) return false;
        Pick pick = picks.front();
        picks.pop_front();
        if (!pick.ok) return false;
        fileName = pick.name;
        choice.filterIndex = pick.filterIndex;
        auto slash = pick.name.find_last_of("/\\");
        choice.fileOffset = slash == std::string::npos ? 0 : slash + 1;
        return true;
    }
};

// A worker host for transfers whose worker never runs in the test.
class IdleWorkerHost : public WorkerHost {
public:
    bool pause(int) override { return false; }
    bool stopRequested() override { return true; }
    void setTitle(const TransferTitle&) override {}
    void progress(int, int) override {}
    void deliverPoint(PointRecord* point) override { delete point; }
    void finished() override {}
    int rowCount() override { return 0; }
    const PointRecord* rowRecord(int) override { return nullptr; }
    void rowSent(int) override {}
    void failedPlatform() override {}
    void failedProtocol(ProtocolFault) override {}
    void failedInternally(WorkerFault) noexcept override {}
};

class FakeLinkPlatform : public LinkPlatform {
public:
    std::unique_ptr<BytePort> openPort(const std::string& name) override {
        opened.push_back(name);
        if (!nextPort) return nullptr;
        return std::move(nextPort);
    }
    bool startWorker(std::function<void()> body) override {
        if (failStart) return false;
        worker = std::move(body);
        running = true;
        return true;
    }
    bool stopWorker() override {
        bool was = running;
        if (running) ++stops;
        running = false;
        return was && finishedNormally;
    }
    void releaseWorker() override { running = false; }
    WorkerHost& workerHost() override { return *host; }
    std::string lastErrorText() override { return "system reason"; }
    int takeRowsSent() override {
        int sent = rowsSent;
        rowsSent = 0;
        return sent;
    }

    std::unique_ptr<BytePort> nextPort;
    int rowsSent = 0;  // what the worker of a test has sent
    IdleWorkerHost idleHost;
    WorkerHost* host = &idleHost;
    std::vector<std::string> opened;
    std::function<void()> worker;
    bool running = false;
    bool failStart = false;
    bool finishedNormally = false;  // the worker has reported its normal end
    int stops = 0;
};

// An AppState of the given family attached to fakes.
struct AppHarness {
    explicit AppHarness(const InstrumentFamily& family) : app(family) { app.attach(platform); }

    IdTextTable texts;
    RecordingBoxes boxes;
    FakeWindow window;
    FakeListView list;
    FakeDialogs dialogs;
    FakeFileDialogs files;
    FakeLinkPlatform link;
    Platform platform{texts, boxes, window, list, dialogs, files, files, link};
    AppState app;  // declared last: it may still use the fakes when it ends

    static PointRecord point(const char* name, double n, double e, double z, const char* mark = "") {
        return makePoint(name, mark, n, e, z);
    }
    const PointStore& points() const { return app.points(); }
};

// The store of an AppState, for tests that make it refuse to grow.
class AppStateTestAccess {
public:
    static PointStore& points(AppState& app) { return app.points_; }
};
