// The five exchange formats in the order of the file dialogs' type list.
#include <cmath>

#include "files/ExchangeFormat.h"
#include "points/PointText.h"
#include "resources/resource.h"

namespace {

// The comma-separated formats carry any finite value, rounded to four
// decimals. Infinity and NaN are no coordinates: they would be written as
// "inf" and "nan", so a point holding one is refused rather than written.
bool finiteCoordinates(const PointRecord& point) {
    return std::isfinite(point.n) && std::isfinite(point.e) && std::isfinite(point.z);
}

const FormatInfo kFormats[] = {
    {ExchangeFormat::Ruvo, kTextFormatRuvo, "*.ruvo", ".ruvo", false, parsePointLine, formatPointLine,
     pointTextCanHold},
    {ExchangeFormat::TopCom, kTextFormatTopCom, "*.pts", ".pts", false, readTopComLine, writeTopComLine,
     finiteCoordinates},
    {ExchangeFormat::SV300, kTextFormatSV300, "*.svf", ".svf", true, readSV300Line, writeSV300Line,
     finiteCoordinates},
    {ExchangeFormat::GuangZhouKass, kTextFormatGuangZhouKass, "*.dat", ".dat", true, readGuangZhouKassLine,
     writeGuangZhouKassLine, finiteCoordinates},
    {ExchangeFormat::SouthKass, kTextFormatSouthKass, "*.dat", ".dat", false, readSouthKassLine,
     writeSouthKassLine, finiteCoordinates},
};

}  // namespace

const FormatInfo* findFormat(int number) {
    if (number < 1 || number > static_cast<int>(sizeof kFormats / sizeof kFormats[0])) return nullptr;
    return &kFormats[number - 1];
}
