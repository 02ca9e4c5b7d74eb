// ASCII DXF of release 12: a header that names the release, then an
// ENTITIES section with a POINT for each point and, for a point with a name,
// a TEXT holding the name at the same place (height 1 drawing unit). X is
// the easting, Y the northing, Z the height, with four decimals. Lines end
// with CR LF; group codes are right-justified in three columns.
//
// Both entities go on a layer named after the point's mark. Release 12
// allows layer names of at most 31 letters, digits, '$', '-' and '_', and
// keeps them in capitals, so a mark is written in capitals, with '_' for
// every other byte (a space, '.', a byte of a Chinese mark): TREE.1 goes on
// layer TREE_1. A point without a mark goes on layer 0, the layer every
// drawing has. Layers need no table entry: a drawing makes the layers its
// entities name, which lets the file stream out point by point.
//
// The name in a TEXT is written byte for byte, except that a control
// character is written in DXF's caret form (^I for a tab, ^M for CR) and a
// '^' as "^ ", so that no name can break the line structure of the file.
#include "files/PointFormats.h"
#include "files/TextSink.h"
#include "points/NumberText.h"

namespace {

void group(const char* code, std::string_view value, TextSink& out) {
    out.put(code);
    out.put("\r\n");
    out.put(value);
    out.put("\r\n");
}

// The groups that both entities of a point carry alike: its layer, X, Y and
// Z, made once into one text.
class SharedGroups {
public:
    SharedGroups(const char* layer, const PointRecord& point) {
        append("  8\r\n");
        append(layer);
        const char* const codes[] = {"\r\n 10\r\n", "\r\n 20\r\n", "\r\n 30\r\n"};
        const double values[] = {point.e, point.n, point.z};
        for (int i = 0; i < 3; ++i) {
            append(codes[i]);
            end_ = formatFixed(values[i], 4, end_);
        }
        append("\r\n");
    }
    void put(TextSink& out) const { out.put(std::string_view(text_, static_cast<std::size_t>(end_ - text_))); }

private:
    void append(const char* part) {
        while (*part) *end_++ = *part++;
    }
    char text_[kDxfLayerMax + 3 * kFixedTextMax + 64];
    char* end_ = text_;
};

bool allowedInLayer(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '$' || c == '-' || c == '_';
}

}  // namespace

void dxfLayerName(const char* mark, char* layer) {
    std::size_t n = boundedLength(mark, kDxfLayerMax);
    if (n == 0) {
        layer[0] = '0';
        layer[1] = '\0';
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        char c = mark[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        layer[i] = allowedInLayer(c) ? c : '_';
    }
    layer[n] = '\0';
}

namespace {

class DxfWriter : public PointWriter {
public:
    explicit DxfWriter(TextSink& out) : out_(out) {}
    void begin() override {
        group("  0", "SECTION", out_);
        group("  2", "HEADER", out_);
        group("  9", "$ACADVER", out_);
        group("  1", "AC1009", out_);
        group("  0", "ENDSEC", out_);
        group("  0", "SECTION", out_);
        group("  2", "ENTITIES", out_);
    }
    void write(const PointRecord& point) override {
        char layer[kDxfLayerMax + 1];
        dxfLayerName(point.mark, layer);
        const SharedGroups shared(layer, point);
        group("  0", "POINT", out_);
        shared.put(out_);
        std::size_t n = boundedLength(point.name, PointRecord::kNameMax);
        if (n == 0) return;
        group("  0", "TEXT", out_);
        shared.put(out_);
        group(" 40", "1.0", out_);
        out_.put("  1\r\n");
        for (std::size_t i = 0; i < n; ++i) {
            char c = point.name[i];
            if (static_cast<unsigned char>(c) < 0x20) {
                out_.put('^');
                out_.put(static_cast<char>(c + 0x40));
            } else {
                out_.put(c);
                if (c == '^') out_.put(' ');
            }
        }
        out_.put("\r\n");
    }
    void end() override {
        group("  0", "ENDSEC", out_);
        group("  0", "EOF", out_);
    }

private:
    TextSink& out_;
};

}  // namespace

std::unique_ptr<PointWriter> openDxf(TextSink& out, const WriteSettings&) { return std::make_unique<DxfWriter>(out); }
