#include "files/DxfSections.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "files/DxfLayers.h"
#include "files/TextSink.h"
#include "points/NumberText.h"

namespace {

struct Group {
    int code;
    const char* value;
};

// A group: its code right-justified in three columns, then its value, each
// on a line of its own.
void putGroup(int code, std::string_view value, TextSink& out) {
    char text[8];
    char* end = text + sizeof text;
    char* start = end;
    *--start = '\n';
    do *--start = static_cast<char>('0' + code % 10);
    while ((code /= 10) > 0);
    while (end - start < 4) *--start = ' ';
    out.put(std::string_view(start, static_cast<std::size_t>(end - start)));
    out.put(value);
    out.put('\n');
}

template <std::size_t N>
void putGroups(const Group (&groups)[N], TextSink& out) {
    for (const Group& group : groups) putGroup(group.code, group.value, out);
}

void putNumberGroup(int code, double value, TextSink& out) {
    char text[kFixedTextMax];
    putGroup(code, coordinateText(value, 4, text), out);
}

// A handle's text, made at the end of text (kHandleTextMax characters).
std::string_view handleText(std::uint64_t handle, char* text) {
    char* end = text + kHandleTextMax;
    char* start = end;
    do *--start = "0123456789ABCDEF"[handle & 0xF];
    while ((handle >>= 4) > 0);
    return std::string_view(start, static_cast<std::size_t>(end - start));
}

void putHandleGroup(int code, std::uint64_t handle, TextSink& out) {
    char text[kHandleTextMax];
    putGroup(code, handleText(handle, text), out);
}

// The header up to the handle seed's value.
const Group kHeader[] = {
    {0, "SECTION"}, {2, "HEADER"},
    {9, "$ACADVER"}, {1, "AC1021"},
    {9, "$DWGCODEPAGE"}, {3, "ANSI_65001"},
    {9, "$INSUNITS"}, {70, "6"},  // metres
    {9, "$HANDSEED"},
};

// From the end of the header to the view's centre: the classes of the
// objects that are not AutoCAD's own (the plot style dictionary and its
// entry), then the viewport table.
const Group kClassesToView[] = {
    {0, "ENDSEC"},
    {0, "SECTION"}, {2, "CLASSES"},
    {0, "CLASS"}, {1, "ACDBDICTIONARYWDFLT"}, {2, "AcDbDictionaryWithDefault"}, {3, "ObjectDBX Classes"},
    {90, "0"}, {91, "0"}, {280, "0"}, {281, "0"},
    {0, "CLASS"}, {1, "ACDBPLACEHOLDER"}, {2, "AcDbPlaceHolder"}, {3, "ObjectDBX Classes"},
    {90, "0"}, {91, "0"}, {280, "0"}, {281, "0"},
    {0, "ENDSEC"},
    {0, "SECTION"}, {2, "TABLES"},
    {0, "TABLE"}, {2, "VPORT"}, {5, "1"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "1"},
    {0, "VPORT"}, {5, "A"}, {330, "1"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbViewportTableRecord"},
    {2, "*Active"}, {70, "0"},
    {10, "0.0"}, {20, "0.0"}, {11, "1.0"}, {21, "1.0"},
};

const Group kViewToLayers[] = {
    {13, "0.0"}, {23, "0.0"}, {14, "0.5"}, {24, "0.5"}, {15, "0.5"}, {25, "0.5"},
    {16, "0.0"}, {26, "0.0"}, {36, "1.0"}, {17, "0.0"}, {27, "0.0"}, {37, "0.0"},
};

const Group kViewEnd[] = {
    {41, "1.34"}, {42, "50.0"}, {43, "0.0"}, {44, "0.0"}, {50, "0.0"}, {51, "0.0"},
    {71, "0"}, {72, "1000"}, {73, "1"}, {74, "3"}, {75, "0"}, {76, "0"}, {77, "0"}, {78, "0"},
    {281, "0"}, {65, "0"}, {146, "0.0"},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "LTYPE"}, {5, "2"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "3"},
    {0, "LTYPE"}, {5, "B"}, {330, "2"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbLinetypeTableRecord"},
    {2, "ByBlock"}, {70, "0"}, {3, ""}, {72, "65"}, {73, "0"}, {40, "0.0"},
    {0, "LTYPE"}, {5, "C"}, {330, "2"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbLinetypeTableRecord"},
    {2, "ByLayer"}, {70, "0"}, {3, ""}, {72, "65"}, {73, "0"}, {40, "0.0"},
    {0, "LTYPE"}, {5, "D"}, {330, "2"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbLinetypeTableRecord"},
    {2, "Continuous"}, {70, "0"}, {3, "Solid line"}, {72, "65"}, {73, "0"}, {40, "0.0"},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "LAYER"}, {5, "3"}, {330, "0"}, {100, "AcDbSymbolTable"},
};

// A layer's groups between its handle and its name, and after its name;
// the plot style (390) is the "Normal" entry of the plot style dictionary,
// without which AutoCAD discards a drawing.
const Group kLayerHead[] = {{330, "3"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbLayerTableRecord"}};
const Group kLayerTail[] = {{70, "0"}, {62, "7"}, {6, "Continuous"}, {370, "-3"}, {390, "1B"}};

// From the end of the layer table to the start of the entities.
const Group kAfterLayers[] = {
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "STYLE"}, {5, "4"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "1"},
    {0, "STYLE"}, {5, "E"}, {330, "4"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbTextStyleTableRecord"},
    {2, "Standard"}, {70, "0"}, {40, "0.0"}, {41, "1.0"}, {50, "0.0"}, {71, "0"}, {42, "1.0"}, {3, "txt"}, {4, ""},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "VIEW"}, {5, "5"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "0"},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "UCS"}, {5, "6"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "0"},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "APPID"}, {5, "7"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "2"},
    {0, "APPID"}, {5, "F"}, {330, "7"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbRegAppTableRecord"},
    {2, "ACAD"}, {70, "0"},
    {0, "APPID"}, {5, "10"}, {330, "7"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbRegAppTableRecord"},
    {2, "AcAecLayerStandard"}, {70, "0"},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "DIMSTYLE"}, {5, "8"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "1"},
    {100, "AcDbDimStyleTable"},
    {0, "DIMSTYLE"}, {105, "11"}, {330, "8"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbDimStyleTableRecord"},
    {2, "Standard"}, {70, "0"},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "BLOCK_RECORD"}, {5, "9"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "2"},
    {0, "BLOCK_RECORD"}, {5, "12"}, {330, "9"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbBlockTableRecord"},
    {2, "*Model_Space"}, {70, "0"}, {280, "1"}, {281, "0"},
    {0, "BLOCK_RECORD"}, {5, "13"}, {330, "9"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbBlockTableRecord"},
    {2, "*Paper_Space"}, {70, "0"}, {280, "1"}, {281, "0"},
    {0, "ENDTAB"},
    {0, "ENDSEC"},
    {0, "SECTION"}, {2, "BLOCKS"},
    {0, "BLOCK"}, {5, "14"}, {330, "12"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockBegin"},
    {2, "*Model_Space"}, {70, "0"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {3, "*Model_Space"}, {1, ""},
    {0, "ENDBLK"}, {5, "15"}, {330, "12"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockEnd"},
    {0, "BLOCK"}, {5, "16"}, {330, "13"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockBegin"},
    {2, "*Paper_Space"}, {70, "0"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {3, "*Paper_Space"}, {1, ""},
    {0, "ENDBLK"}, {5, "17"}, {330, "13"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockEnd"},
    {0, "ENDSEC"},
    {0, "SECTION"}, {2, "ENTITIES"},
};

// The root dictionary with the group dictionary (empty) and the plot style
// dictionary, whose one entry every layer names.
const Group kEnd[] = {
    {0, "ENDSEC"},
    {0, "SECTION"}, {2, "OBJECTS"},
    {0, "DICTIONARY"}, {5, "18"}, {330, "0"}, {100, "AcDbDictionary"}, {281, "1"},
    {3, "ACAD_GROUP"}, {350, "19"}, {3, "ACAD_PLOTSTYLENAME"}, {350, "1A"},
    {0, "DICTIONARY"}, {5, "19"}, {330, "18"}, {100, "AcDbDictionary"}, {281, "1"},
    {0, "ACDBDICTIONARYWDFLT"}, {5, "1A"}, {330, "18"}, {100, "AcDbDictionary"}, {281, "1"},
    {3, "Normal"}, {350, "1B"}, {100, "AcDbDictionaryWithDefault"}, {340, "1B"},
    {0, "ACDBPLACEHOLDER"}, {5, "1B"}, {330, "1A"},
    {0, "ENDSEC"},
    {0, "EOF"},
};

void putLayer(const DxfLayer& layer, std::uint64_t handle, TextSink& out) {
    putGroup(0, "LAYER", out);
    putHandleGroup(5, handle, out);
    putGroups(kLayerHead, out);
    putGroup(2, layer.name, out);
    putGroups(kLayerTail, out);
    if (!layer.derived()) return;
    // The mark itself as the layer's description, where CAD shows it.
    putGroup(1001, "AcAecLayerStandard", out);
    putGroup(1000, "", out);
    out.put("1000\n");
    putDxfText(layer.mark, false, out);
    out.put('\n');
}

}  // namespace

DxfView viewOn(double minX, double minY, double maxX, double maxY) {
    constexpr double kAspect = 1.34;  // the viewport's width to its height, as 41 gives it
    constexpr double kLeast = 10.0;   // the height around a single point
    DxfView view;
    if (!(minX <= maxX && minY <= maxY)) return view;
    const double height = std::max({maxY - minY, (maxX - minX) / kAspect, kLeast / 1.1}) * 1.1;
    if (!std::isfinite(height)) return view;
    view.centreX = minX / 2 + maxX / 2;
    view.centreY = minY / 2 + maxY / 2;
    view.height = height;
    return view;
}

char* putHandle(std::uint64_t handle, char* out) {
    char text[kHandleTextMax];
    const std::string_view digits = handleText(handle, text);
    std::memcpy(out, digits.data(), digits.size());
    return out + digits.size();
}

void writeDxfStart(const DxfLayers& layers, std::uint64_t handseed, const DxfView& view, TextSink& out) {
    putGroups(kHeader, out);
    putHandleGroup(5, handseed, out);
    putGroups(kClassesToView, out);
    putNumberGroup(12, view.centreX, out);
    putNumberGroup(22, view.centreY, out);
    putGroups(kViewToLayers, out);
    putNumberGroup(40, view.height, out);
    putGroups(kViewEnd, out);
    putGroup(70, std::to_string(layers.size()), out);
    for (std::size_t i = 0; i < layers.size(); ++i) putLayer(layers[i], kFirstLayerHandle + i, out);
    putGroups(kAfterLayers, out);
}

void writeDxfEnd(TextSink& out) { putGroups(kEnd, out); }

void putDxfText(std::string_view utf8, bool drawn, TextSink& out) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        // A run of characters that stand for themselves, in one piece.
        std::size_t plain = i;
        while (plain < utf8.size() && static_cast<unsigned char>(utf8[plain]) >= 0x20 && utf8[plain] != '^' &&
               (utf8[plain] != '%' || !drawn))
            ++plain;
        if (plain > i) {
            out.put(utf8.substr(i, plain - i));
            i = plain;
            if (i == utf8.size()) break;
        }
        const char c = utf8[i];
        if (static_cast<unsigned char>(c) < 0x20) {
            out.put('^');
            out.put(static_cast<char>(c + 0x40));
        } else if (c == '^') {
            out.put("^ ");
        } else {  // a '%' of a drawn text
            std::size_t run = 1;
            while (i + run < utf8.size() && utf8[i + run] == '%') ++run;
            if (run == 1) {
                out.put('%');
            } else {
                for (std::size_t k = 0; k < run; ++k) out.put("%%%");
            }
            i += run - 1;
        }
    }
}
