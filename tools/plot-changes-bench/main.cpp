// What a batch of changes of the point store costs with the plot watching
// it, against the store alone: the end of a Tassin send (every sent name
// loses its trailing spaces, row by row through PointStore::replace, as
// AppState::keepSentNames does), an Import (rows appended in batches of
// kReadBatch, as readPointFile hands them over) and a Clear. With the plot,
// the time its next picture takes to bring the view up to date (the extent
// and the view, without the drawing) is printed apart, and how often the
// plot measured the whole store for the change.
//
//   plot_changes_bench [ROWS...]    (default: 10000 50000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchBuild.h"
#include "app/families/FamilyTable.h"
#include "app/families/InstrumentFamily.h"
#include "app/plot/PlotModel.h"
#include "files/PointFile.h"
#include "link/LinkProtocol.h"
#include "points/PointStore.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Points on a grid, each name with trailing spaces as a Tassin send leaves
// them to be trimmed.
std::vector<PointRecord> makePoints(std::size_t rows) {
    std::vector<PointRecord> points(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "P%zu   ", i);
        points[i].setName(name);
        points[i].n = 1000.0 + static_cast<double>(i % 500);
        points[i].e = 2000.0 + static_cast<double>(i / 500);
    }
    return points;
}

// The plot as its window keeps it: sized, fitted, watching the store.
struct Plot {
    explicit Plot(PointStore& watched) : store(watched), model(watched, [] {}) {
        model.resize(520, 380);
        model.fitAll();
        store.addObserver(model);
    }
    ~Plot() { store.removeObserver(model); }
    // What the next picture does before it draws.
    double nextPictureMs() {
        Clock::time_point start = Clock::now();
        volatile double sink = model.view().scale() + static_cast<double>(model.extent().drawn);
        (void)sink;
        return msSince(start);
    }
    PointStore& store;
    PlotModel model;
};

struct Figures {
    double alone;      // the store without observers
    double watched;    // the same with the plot watching
    double catchUp;    // the plot's next picture afterwards
    std::size_t measures;  // the plot's passes over the store for its extent, the next picture's included
};

void print(const char* what, std::size_t rows, const Figures& f) {
    std::printf("%-22s %8zu rows   store alone %9.2f ms   with the plot %10.2f ms   next picture %8.2f ms"
                "   (%zu measures)\n",
                what, rows, f.alone, f.watched, f.catchUp, f.measures);
}

// The change timed on a store that holds the points first, or none.
template <typename Change>
Figures measure(const std::vector<PointRecord>& points, bool filled, Change change) {
    Figures figures{};
    {
        PointStore store;
        if (filled) store.append(points.data(), points.size());
        Clock::time_point start = Clock::now();
        change(store);
        figures.alone = msSince(start);
    }
    {
        PointStore store;
        if (filled) store.append(points.data(), points.size());
        Plot plot(store);
        const std::size_t before = plot.model.measures();
        Clock::time_point start = Clock::now();
        change(store);
        figures.watched = msSince(start);
        figures.catchUp = plot.nextPictureMs();
        figures.measures = plot.model.measures() - before;
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::strtoul(argv[i], nullptr, 10));
    if (sizes.empty()) sizes = {10000, 50000};
    std::printf("plot changes bench; %s, %s\n", sanitizedText(), optimisedText());
    bool (*const trim)(PointRecord&) = kTassinFamily.link.afterSend;
    for (std::size_t rows : sizes) {
        const std::vector<PointRecord> points = makePoints(rows);
        print("end of a Tassin send", rows, measure(points, true, [trim](PointStore& store) {
                  for (std::size_t row = 0; row < store.size(); ++row) {
                      PointRecord point = store.at(row);
                      if (trim(point)) store.replace(row, point);
                  }
              }));
        print("Import", rows, measure(points, false, [&points](PointStore& store) {
                  for (std::size_t first = 0; first < points.size(); first += kReadBatch)
                      store.append(points.data() + first, std::min(kReadBatch, points.size() - first));
              }));
        print("Clear", rows, measure(points, true, [](PointStore& store) { store.clear(); }));
    }
    return 0;
}
