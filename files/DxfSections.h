// The sections of a DXF R2007 drawing of points around its entities: what
// AutoCAD, ezdxf and GDAL need to read the drawing and nothing more.
//
// Every object has a handle and its owner's; the fixed objects have the
// handles below kFirstLayerHandle, the layers (their table's entries in
// their order) the ones from it, the entities those after the layers.
// $HANDSEED, the first handle free, comes from the writer.
//
// The whole file is UTF-8, as readers take a drawing of release 2007 and
// later to be, and the header declares code page 65001 (ANSI_65001): GDAL
// decodes a drawing by $DWGCODEPAGE whatever its release, so the header
// names the code page the text is really in. (GDAL on a C library whose
// iconv has no name CP65001, as glibc's, says it cannot recode from it and
// then keeps the bytes: the text still reads right.)
//
// The header also gives the units (metres) and the view the drawing opens
// with: the points' extent.
#pragma once

#include <cstdint>
#include <string_view>

class DxfLayers;
class TextSink;

constexpr std::uint64_t kFirstLayerHandle = 0x20;
// The handle of *Model_Space's block record, which owns every entity.
constexpr std::string_view kModelSpaceHandle = "12";

// The part of model space that the drawing first shows.
struct DxfView {
    double centreX = 0.0, centreY = 0.0;
    double height = 100.0;
};

// The view on a rectangle of points (a larger one around a single point);
// the default view when there is none or its size is no finite number.
DxfView viewOn(double minX, double minY, double maxX, double maxY);

// Everything before the first entity: header, classes, tables (a LAYER
// table entry for each layer, in order), blocks and the start of the
// entities.
void writeDxfStart(const DxfLayers& layers, std::uint64_t handseed, const DxfView& view, TextSink& out);

// Everything after the last entity: the end of the entities, the objects
// and the end of the file.
void writeDxfEnd(TextSink& out);

// A handle: hexadecimal digits in capitals, without leading zeros, written
// at out, which has room for kHandleTextMax characters; returns the end.
constexpr std::size_t kHandleTextMax = 16;
char* putHandle(std::uint64_t handle, char* out);

// A text value as CAD shows it back: each control character in caret form
// (^J for LF, ^I for tab...) and '^' as "^ ", so that no text breaks the
// file's lines. A drawn text (drawn) also has its '%' written for CAD's
// control codes: "%%p" draws ±, "%%d" °, "%%c" ⌀, "%%%" one '%'; a lone '%'
// is not a code and stays as it is, and each '%' of a run of two or more
// is written "%%%". (ezdxf's plain_text() and GDAL do not decode "%%%":
// they read a name holding "%%" with the codes in it; a single '%' reads
// back as it is everywhere.) A '\' stays as it is: a TEXT has no escape for
// it that those readers decode, so a name holding "\U+" and four hex
// digits would show in CAD as that character.
void putDxfText(std::string_view utf8, bool drawn, TextSink& out);
