// Fakes of every platform service AppState uses, held in memory, and a
// fixture that attaches an AppState of either model to them.
#pragma once

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
#include "app/Dialogs.h"
#include "app/MainWindowView.h"
#include "files/FileDialogs.h"
#include "link/LinkPlatform.h"
#include "link/WorkerHost.h"
#include "points/PointListView.h"
#include "points/PointRecord.h"

struct FakeRow {
    PointRecord* record = nullptr;
    std::string cells[5];
    bool selected = false;
    bool focused = false;
};

class FakeListView : public PointListView {
public:
    ~FakeListView() override {
        // The window's end gives back what its rows still own.
        for (FakeRow& row : rows) delete row.record;
    }
    int rowCount() override { return static_cast<int>(rows.size()); }
    PointRecord* rowRecord(int row) override { return rows.at(row).record; }
    void insertRow(PointRecord* record, bool selected, bool focused) override {
        if (focused)
            for (FakeRow& row : rows) row.focused = false;
        rows.push_back({record, {}, selected, focused});
    }
    void setCellText(int row, int column, const std::string& text) override { rows.at(row).cells[column] = text; }
    void deleteRow(int row) override { rows.erase(rows.begin() + row); }
    void deleteAllRows() override { rows.clear(); }
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
    void ensureVisible(int row, bool partialOk) override { visible.push_back({row, partialOk}); }
    void setColumns(const std::string (&h)[5], const int (&w)[5]) override {
        headers.assign(h, h + 5);
        widths.assign(w, w + 5);
    }
    void beginBatch() override { ++batches; }
    void endBatch() override { --batches; }

    std::vector<std::string> cells(int row) const { return {rows.at(row).cells, rows.at(row).cells + 5}; }

    std::vector<FakeRow> rows;
    std::vector<std::string> headers;
    std::vector<int> widths;
    std::vector<std::pair<int, bool>> visible;
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

    struct Answer {
        bool ok;
        std::function<void(PointRecord&)> edit;
    };
    std::deque<Answer> answers;
    int pointDialogs = 0;
    int aboutBoxes = 0;
};

class FakeFileDialogs : public FileDialogs {
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
    std::string text(int) override { return {}; }
    void setTitle(const std::string&) override {}
    void progress(int, int) override {}
    void deliverPoint(PointRecord* point) override { delete point; }
    void finished() override {}
    int rowCount() override { return 0; }
    PointRecord* rowRecord(int) override { return nullptr; }
    void failedPlatform() override {}
    void failedProtocol(int) override {}
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

    std::unique_ptr<BytePort> nextPort;
    IdleWorkerHost idleHost;
    WorkerHost* host = &idleHost;
    std::vector<std::string> opened;
    std::function<void()> worker;
    bool running = false;
    bool failStart = false;
    bool finishedNormally = false;  // the worker has reported its normal end
    int stops = 0;
};

// An AppState of the given model attached to fakes.
struct AppHarness {
    explicit AppHarness(Model model) : app(model) { app.attach(platform); }

    IdTextTable texts;
    RecordingBoxes boxes;
    FakeWindow window;
    FakeListView list;
    FakeDialogs dialogs;
    FakeFileDialogs files;
    FakeLinkPlatform link;
    Platform platform{texts, boxes, window, list, dialogs, files, link};
    AppState app;  // declared last: it may still use the fakes when it ends

    PointRecord* point(const char* name, double n, double e, double z, const char* mark = "") {
        auto* p = new PointRecord;
        fillPoint(*p, name, mark, n, e, z);
        return p;
    }
};
