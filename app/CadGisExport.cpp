// The list's "Export for CAD/GIS...": the whole list written as csv, dxf,
// geojson or landxml by the writers that pointlink uses, with the texts in
// the system's code page, or as kml or geojson in WGS 84 in the coordinate
// system that the user names (app/CrsChoice.h), kept for the rest of the
// run. Like Export it refuses the whole list, before any
// file is touched, for the first point the type cannot carry, and replaces
// its target only by a complete file; unlike Export it leaves the list
// modified, as nothing can import these files again.
#include <cstdio>

#include "app/AppState.h"
#include "app/CrsChoice.h"
#include "app/Dialogs.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/TextFill.h"
#include "app/TextTable.h"
#include "files/CoordinateSystem.h"
#include "files/FileSystem.h"
#include "files/PointFile.h"
#include "files/PointFormats.h"
#include "files/SafeReplace.h"
#include "files/TextSink.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

namespace {

// The Save dialog's file types in their order, by the name the dialog and
// the boxes show and the name of the format that writes them.
// wgs84: written in longitude and latitude, which needs the points'
// coordinate system.
struct CadGisType {
    const char* label;
    const char* format;
    bool wgs84;
};
constexpr CadGisType kCadGisTypes[] = {{"CSV", "csv", false},
                                       {"DXF", "dxf", false},
                                       {"GeoJSON", "geojson", false},
                                       {"LandXML", "landxml", false},
                                       {"KML (WGS 84)", "kml", true},
                                       {"GeoJSON (WGS 84)", "geojson", true}};
constexpr int kCadGisTypeCount = sizeof kCadGisTypes / sizeof kCadGisTypes[0];

// "CSV (*.csv)" NUL "*.csv" NUL ... NUL, as FileDialogs takes types.
std::string cadGisFilter() {
    std::string filter;
    for (const CadGisType& type : kCadGisTypes) {
        std::string pattern = std::string("*") + findPointFormat(type.format)->extension;
        filter += std::string(type.label) + " (" + pattern + ")";
        filter += '\0';
        filter += pattern;
        filter += '\0';
    }
    filter += '\0';
    return filter;
}

int refusalTextId(Refusal refusal) {
    switch (refusal) {
    case Refusal::NotInEncoding: return kTextNotInCodePage;
    case Refusal::ControlCharacter: return kTextControlCharacter;
    case Refusal::NoPosition: return kTextNoPosition;
    default: return kTextPointDoesNotFit;
    }
}

}  // namespace

// The first point that the format refuses, if any, is named in a box.
bool AppState::writableForCadGis(const PointFormat& format, const WriteSettings& settings, const char* formatName) {
    int row = 0;
    for (const PointRecord& point : points_) {
        const Refusal refusal = format.refuses(point, settings);
        if (refusal != Refusal::None) {
            std::string message = fillText(text(refusalTextId(refusal)), {row + 1, point.name, formatName});
            platform_->boxes.show(BoxOwner::MainWindow, message, "Error", BoxIcon::Error, BoxButtons::Ok);
            return false;
        }
        ++row;
    }
    return true;
}

// The coordinate system the user names in the dialog; nullptr after Cancel.
std::unique_ptr<CoordinateSystem> AppState::chooseCoordinateSystem() {
    CoordinateSystems& systems = *platform_->coordinateSystems;
    CrsChoice choice(systems, text(kTextCrsHint));
    std::string typed = crsPrefill(crsText_, points_, systems);
    if (!platform_->dialogs.runCrsDialog(choice, typed)) return nullptr;
    std::unique_ptr<CoordinateSystem> crs = choice.takeChosen();
    if (crs) crsText_ = typed;
    return crs;
}

// One box for the points that lie outside the system's area of use (a
// wrong zone, N and E swapped), which were written as they are.
void AppState::warnOutsideArea(CoordinateSystem& crs) {
    const GeoArea* area = crs.areaOfUse();
    if (!area) return;
    int outside = 0;
    for (const PointRecord& point : points_) {
        GeoPosition position;
        if (crs.position(point.n, point.e, position) && !area->contains(position)) ++outside;
    }
    if (outside == 0) return;
    const std::string system = crs.code().empty() ? crs.name() : crs.code() + " (" + crs.name() + ")";
    platform_->boxes.show(BoxOwner::MainWindow, fillText(text(kTextOutsideArea), {outside, system}), "Warning",
                          BoxIcon::Warning, BoxButtons::Ok);
}

void AppState::exportForCadGis() {
    FileChoice choice;
    if (!platform_->files.chooseSaveFile(cadGisFileName_, cadGisFilter(), choice)) return;
    if (choice.filterIndex < 1 || choice.filterIndex > kCadGisTypeCount) {
        platform_->boxes.show(BoxOwner::MainWindow, text(kTextUnknownFileType), "Error", BoxIcon::Error,
                              BoxButtons::Ok);
        return;
    }
    const CadGisType& type = kCadGisTypes[choice.filterIndex - 1];
    const PointFormat& format = *findPointFormat(type.format);
    if (type.wgs84 && !platform_->coordinateSystems) {
        platform_->boxes.show(BoxOwner::MainWindow, text(kTextUnknownFileType), "Error", BoxIcon::Error,
                              BoxButtons::Ok);
        return;
    }
    std::unique_ptr<CoordinateSystem> crs;
    if (type.wgs84 && !(crs = chooseCoordinateSystem())) return;
    WriteSettings settings{platform_->pointTexts, &platform_->fileSystem};
    settings.crs = crs.get();
    if (!writableForCadGis(format, settings, type.label)) return;

    std::string target = exportFileName(cadGisFileName_, choice.fileOffset, format.extension);
    std::string reason;
    auto write = [&](std::FILE* file) {
        TextSink sink(file);
        PointStream stream(format, sink, settings);
        stream.begin();
        for (const PointRecord& point : points_) stream.write(point);
        stream.end();
        return sink.flush();
    };
    if (!replaceSafely(platform_->fileSystem, target, write, reason))
        showFileError(kTextCannotWriteFile, target, reason);
    else if (crs)
        warnOutsideArea(*crs);
}
