// ASCII DXF of release 2007 (AC1021), the whole file UTF-8: a POINT for each
// point and, for a point with a name, a TEXT holding the name at the same
// place (height 1 drawing unit), both on the layer of the point's mark
// (files/DxfLayers.h). X is the easting, Y the northing, Z the height, with
// four decimals and never -0.0000. Group codes are right-justified in three
// columns. Lines end with LF alone, as GDAL and ezdxf write their drawings
// and as every CAD program reads them: a CR would make the largest of the
// outputs (some 260 bytes a point) 15 % larger, and its writing slower.
//
// Release 2007 because it is the first whose layer names may hold any
// character a mark is likely to have (Chinese, accented letters, spaces,
// '.') and whose text readers take as UTF-8, whatever code page the points
// came in; release 12 names allow only capitals, digits, '$', '-' and '_'.
// Names and marks are converted from the points' code page (a point whose
// texts do not convert is refused before it comes here). A TEXT's name is
// written as putDxfText (files/DxfSections.h) has it, so that CAD shows it
// exactly: control characters in caret form, '%' kept from CAD's control
// codes. Readers that do not know CAD's "%%%" (ezdxf's plain_text(), GDAL)
// read a name holding "%%" with those codes in it; a single '%' reads back
// as itself everywhere.
//
// The table of layers comes before the entities, so the writer keeps every
// point (its layer's number, its name and the text of its coordinates:
// some 60 bytes) in a scratch file, or in memory where there is none, and
// writes the whole drawing at end(). Should keeping them fail, end() writes nothing more and
// leaves the output failed, so that no target is replaced by half a drawing.
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "files/DxfLayers.h"
#include "files/DxfSections.h"
#include "files/PointFormats.h"
#include "files/ScratchRecords.h"
#include "files/TextSink.h"
#include "files/Utf8.h"
#include "points/NumberText.h"

namespace {

using namespace std::string_view_literals;

// The groups of an entity from the end of its handle to its X: its owner,
// its layer and its subclass.
std::string entityHead(const std::string& layer, const char* subclass) {
    std::string head = "\n330\n";
    head += kModelSpaceHandle;
    head += "\n100\nAcDbEntity\n  8\n";
    head += layer;
    head += "\n100\n";
    head += subclass;
    head += "\n 10\n";
    return head;
}

// The fixed groups of an entity around its handle, its head and its place,
// at most: its type and handle groups, the handle, and the TEXT's height.
constexpr std::size_t kEntityStartMax = 48 + kHandleTextMax;

char* append(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// X, Y and Z of a point as both its entities carry them, made once, when
// the point is kept: while the points are still being read, the thread
// that writes has time to spare.
class Place {
public:
    explicit Place(const double (&xyz)[3]) {
        const char* const codes[] = {"", "\n 20\n", "\n 30\n"};
        for (int i = 0; i < 3; ++i) {
            append(codes[i]);
            char number[kFixedTextMax];
            append(coordinateText(xyz[i], 4, number));
        }
        append("\n");
    }
    std::string_view text() const { return std::string_view(text_, used_); }
    static constexpr std::size_t kMax = 3 * kFixedTextMax + 32;

private:
    void append(std::string_view part) {
        std::memcpy(text_ + used_, part.data(), part.size());
        used_ += part.size();
    }
    char text_[kMax];
    std::size_t used_ = 0;
};

class DxfWriter : public PointWriter {
public:
    DxfWriter(TextSink& out, const WriteSettings& settings)
        : out_(out), encoding_(settings.encoding), layers_(settings.encoding), kept_(settings.files) {}

    void begin() override {}
    bool writesAtEnd() const override { return true; }

    void write(const PointRecord& point) override {
        char record[kRecordMax];
        const std::uint32_t layer = layers_.layerOf(point.mark, PointRecord::kMarkMax);
        const std::size_t nameLength = boundedLength(point.name, PointRecord::kNameMax);
        const double xyz[3] = {point.e, point.n, point.z};
        const Place place(xyz);
        const auto placeLength = static_cast<std::uint16_t>(place.text().size());
        std::memcpy(record, &layer, sizeof layer);
        record[4] = static_cast<char>(nameLength);
        std::memcpy(record + 5, &placeLength, sizeof placeLength);
        std::memcpy(record + kRecordHead, point.name, nameLength);
        std::memcpy(record + kRecordHead + nameLength, place.text().data(), placeLength);
        kept_.append(record, kRecordHead + nameLength + placeLength);
        ++points_;
        if (nameLength > 0) ++texts_;
        if (point.e < minX_) minX_ = point.e;
        if (point.e > maxX_) maxX_ = point.e;
        if (point.n < minY_) minY_ = point.n;
        if (point.n > maxY_) maxY_ = point.n;
    }

    void end() override {
        if (!kept_.rewind()) {
            out_.markFailed();
            return;
        }
        const std::uint64_t firstEntity = kFirstLayerHandle + layers_.size();
        writeDxfStart(layers_, firstEntity + points_ + texts_, viewOn(minX_, minY_, maxX_, maxY_), out_);
        std::vector<std::string> pointHeads, textHeads;
        for (std::size_t i = 0; i < layers_.size(); ++i) {
            pointHeads.push_back(entityHead(layers_[i].name, "AcDbPoint"));
            textHeads.push_back(entityHead(layers_[i].name, "AcDbText"));
        }
        std::uint64_t handle = firstEntity;
        for (std::uint64_t i = 0; i < points_; ++i) {
            KeptPoint point;
            if (!readBack(point)) {
                out_.markFailed();
                return;
            }
            // The entities up to the TEXT's string, made in place.
            const std::string_view place(point.place, point.placeLength);
            const std::string& pointHead = pointHeads[point.layer];
            const std::string& textHead = textHeads[point.layer];
            char* p = out_.room(2 * (kEntityStartMax + place.size()) + pointHead.size() + textHead.size());
            p = append(p, "  0\nPOINT\n  5\n"sv);
            p = append(append(putHandle(handle++, p), pointHead), place);
            if (point.nameLength == 0) {
                out_.took(p);
                continue;
            }
            p = append(p, "  0\nTEXT\n  5\n"sv);
            p = append(append(putHandle(handle++, p), textHead), place);
            out_.took(append(p, " 40\n1.0\n  1\n"sv));
            putDxfText(utf8Of(point.name, point.nameLength, encoding_, buffer_), true, out_);
            out_.put("\n100\nAcDbText\n"sv);
        }
        writeDxfEnd(out_);
    }

private:
    // A kept point: its layer (4 bytes), the length of its name (1) and of
    // its place's text (2), then the name's bytes and the place's text.
    static constexpr std::size_t kRecordHead = 7;
    static constexpr std::size_t kRecordMax = kRecordHead + PointRecord::kNameMax + Place::kMax;
    struct KeptPoint {
        std::uint32_t layer;
        std::size_t nameLength;
        std::uint16_t placeLength;
        char name[PointRecord::kNameMax];
        char place[Place::kMax];
    };

    // The next kept point; false when it cannot be read back whole.
    bool readBack(KeptPoint& point) {
        char head[kRecordHead];
        if (!kept_.read(head, sizeof head)) return false;
        std::memcpy(&point.layer, head, sizeof point.layer);
        point.nameLength = static_cast<unsigned char>(head[4]);
        std::memcpy(&point.placeLength, head + 5, sizeof point.placeLength);
        return point.layer < layers_.size() && point.nameLength <= sizeof point.name &&
               point.placeLength <= sizeof point.place && kept_.read(point.name, point.nameLength) &&
               kept_.read(point.place, point.placeLength);
    }

    TextSink& out_;
    const TextEncoding* encoding_;
    DxfLayers layers_;
    ScratchRecords kept_;
    std::uint64_t points_ = 0, texts_ = 0;
    double minX_ = HUGE_VAL, minY_ = HUGE_VAL, maxX_ = -HUGE_VAL, maxY_ = -HUGE_VAL;
    std::string buffer_;
};

}  // namespace

std::unique_ptr<PointWriter> openDxf(TextSink& out, const WriteSettings& settings) {
    return std::make_unique<DxfWriter>(out, settings);
}
