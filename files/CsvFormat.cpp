// CSV as RFC 4180 has it: a header line name,mark,N,E,Z, then one record a
// point, CR LF after every line. A name or mark holding ',', '"', CR or LF
// is put in double quotes, with each '"' doubled; any other field is
// written bare. Texts are written byte for byte, as the point holds them
// (the points' own code page, which a spreadsheet on the PC that wrote
// them opens as it is); numbers with four decimals, as the exchange
// formats write them, but never as -0.0000.
#include "files/PointFormats.h"
#include "files/TextSink.h"
#include "points/NumberText.h"

namespace {

void putField(const char* text, std::size_t max, TextSink& out) {
    std::string_view field(text, boundedLength(text, max));
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.put(field);
        return;
    }
    out.put('"');
    for (char c : field) {
        if (c == '"') out.put('"');
        out.put(c);
    }
    out.put('"');
}

class CsvWriter : public PointWriter {
public:
    explicit CsvWriter(TextSink& out) : out_(out) {}
    void begin() override { out_.put("name,mark,N,E,Z\r\n"); }
    void write(const PointRecord& point) override {
        putField(point.name, PointRecord::kNameMax, out_);
        out_.put(',');
        putField(point.mark, PointRecord::kMarkMax, out_);
        for (double value : {point.n, point.e, point.z}) {
            out_.put(',');
            out_.putCoordinate(value, 4);
        }
        out_.put("\r\n");
    }
    void end() override {}

private:
    TextSink& out_;
};

}  // namespace

std::unique_ptr<PointWriter> openCsv(TextSink& out, const WriteSettings&) { return std::make_unique<CsvWriter>(out); }
