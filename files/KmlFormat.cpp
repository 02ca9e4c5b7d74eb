// KML 2.2: one Document with a Folder for each mark, in the order the marks
// first came, holding a Placemark for each point of that mark in the order
// the points came, so that a globe lists the survey by its codes and shows
// or hides the points of one code at a time. A Placemark has the point's
// name, its mark as the data field "mark", and a Point at its WGS 84
// longitude and latitude (nine decimals, files/DegreeText.h) with Z as the
// points have it (four decimals, never -0.0000). Z is the survey's height,
// not one above the ellipsoid, so no altitude mode is declared: a globe
// puts the points on its ground. A point without a name has no name, one
// without a mark no data field, and their folder no name.
//
// The points of a mark come mixed with the others', so the writer keeps
// every point (name and position: at most 34 bytes) in a scratch file
// grouped by mark (files/GroupedSpool.h), or in memory where there is none,
// and writes the folders at end(). Memory grows with the number of marks,
// not of points. Should keeping them fail, end() writes nothing more and
// leaves the output failed, so that no target is replaced by half a file.
//
// XML text is UTF-8: names and marks are converted from the points' code
// page and escaped (files/XmlText.h); a point whose texts do not convert, or
// that holds a character XML cannot carry, or that has no position, is
// refused before it comes here (kmlRefuses).
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "files/CoordinateSystem.h"
#include "files/DegreeText.h"
#include "files/GroupedSpool.h"
#include "files/PointFormats.h"
#include "files/TextSink.h"
#include "files/Utf8.h"
#include "files/XmlText.h"
#include "points/NumberText.h"

namespace {

constexpr char kHead[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
    "<Document>\r\n";
constexpr char kTail[] =
    "</Document>\r\n"
    "</kml>\r\n";

// A kept point: the length of its name (1 byte), the name's bytes, then
// longitude, latitude and Z.
constexpr std::size_t kCoordinates = 3 * sizeof(double);

// The points' marks, each the number of its group, in the order they came.
class MarkGroups {
public:
    std::size_t groupOf(const char* mark) {
        const std::string_view bytes(mark, boundedLength(mark, PointRecord::kMarkMax));
        if (!marks_.empty() && bytes == marks_[last_]) return last_;
        auto found = numbers_.find(std::string(bytes));
        if (found == numbers_.end()) {
            found = numbers_.emplace(std::string(bytes), marks_.size()).first;
            marks_.emplace_back(bytes);
        }
        last_ = found->second;
        return last_;
    }
    std::size_t size() const { return marks_.size(); }
    const std::string& operator[](std::size_t group) const { return marks_[group]; }

private:
    std::vector<std::string> marks_;
    std::unordered_map<std::string, std::size_t> numbers_;
    std::size_t last_ = 0;
};

class KmlWriter : public PointWriter {
public:
    KmlWriter(TextSink& out, const WriteSettings& settings)
        : out_(out), encoding_(settings.encoding), crs_(settings.crs), kept_(settings.files) {}

    void begin() override { out_.put(kHead); }

    void write(const PointRecord& point) override {
        GeoPosition position;
        if (crs_) crs_->position(point.n, point.e, position);  // one it has: kmlRefuses let the point through
        const std::size_t nameLength = boundedLength(point.name, PointRecord::kNameMax);
        const double coordinates[] = {position.longitude, position.latitude, point.z};
        char record[1 + PointRecord::kNameMax + kCoordinates];
        record[0] = static_cast<char>(nameLength);
        std::memcpy(record + 1, point.name, nameLength);
        std::memcpy(record + 1 + nameLength, coordinates, kCoordinates);
        kept_.append(marks_.groupOf(point.mark), std::string_view(record, 1 + nameLength + kCoordinates));
    }

    void end() override {
        for (std::size_t group = 0; group < marks_.size(); ++group) {
            putFolderHead(marks_[group]);
            if (!kept_.replay(group, [this](std::string_view records) { return putPlacemarks(records); })) {
                out_.markFailed();
                return;
            }
            out_.put("</Folder>\r\n");
        }
        out_.put(kTail);
    }

private:
    // The folder's start, and what every placemark of it carries between
    // its name and its point.
    void putFolderHead(const std::string& mark) {
        markData_.clear();
        out_.put("<Folder>");
        if (!mark.empty()) {
            appendXmlText(utf8Of(mark.c_str(), mark.size(), encoding_, buffer_), markData_);
            out_.put("<name>");
            out_.put(markData_);
            out_.put("</name>");
            markData_.insert(0, "<ExtendedData><Data name=\"mark\"><value>");
            markData_ += "</value></Data></ExtendedData>";
        }
        out_.put("\r\n");
    }

    // Writes whole records; false for bytes that are not (a scratch file
    // that gave back something else).
    bool putPlacemarks(std::string_view records) {
        while (!records.empty()) {
            const std::size_t nameLength = static_cast<unsigned char>(records[0]);
            if (nameLength > static_cast<std::size_t>(PointRecord::kNameMax) ||
                records.size() < 1 + nameLength + kCoordinates)
                return false;
            double coordinates[3];
            std::memcpy(coordinates, records.data() + 1 + nameLength, kCoordinates);
            out_.put("<Placemark>");
            if (nameLength > 0) {
                text_.clear();
                appendXmlText(utf8Of(records.data() + 1, nameLength, encoding_, buffer_), text_);
                out_.put("<name>");
                out_.put(text_);
                out_.put("</name>");
            }
            out_.put(markData_);
            out_.put("<Point><coordinates>");
            char number[kDegreeTextMax];
            out_.put(degreeText(coordinates[0], number));
            out_.put(',');
            out_.put(degreeText(coordinates[1], number));
            out_.put(',');
            out_.putCoordinate(coordinates[2], 4);
            out_.put("</coordinates></Point></Placemark>\r\n");
            records.remove_prefix(1 + nameLength + kCoordinates);
        }
        return true;
    }

    TextSink& out_;
    const TextEncoding* encoding_;
    CoordinateSystem* crs_;
    MarkGroups marks_;
    GroupedSpool kept_;
    std::string markData_, text_, buffer_;
};

}  // namespace

std::unique_ptr<PointWriter> openKml(TextSink& out, const WriteSettings& settings) {
    return std::make_unique<KmlWriter>(out, settings);
}
