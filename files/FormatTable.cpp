// The five exchange formats in the order of the file dialogs' type list.
#include "files/ExchangeFormat.h"
#include "points/PointText.h"
#include "resources/resource.h"

namespace {

// The comma-separated formats carry any finite value, rounded to four
// decimals (hasFiniteCoordinates). Infinity and NaN are no coordinates: they
// would be written as "inf" and "nan", so a point holding one is refused
// rather than written.
const FormatInfo kFormats[] = {
    {ExchangeFormat::Ruvo, kTextFormatRuvo, "*.ruvo", ".ruvo", false, parsePointLine, formatPointLine,
     pointTextCanHold},
    {ExchangeFormat::TopCom, kTextFormatTopCom, "*.pts", ".pts", false, readTopComLine, writeTopComLine,
     hasFiniteCoordinates},
    {ExchangeFormat::SV300, kTextFormatSV300, "*.svf", ".svf", true, readSV300Line, writeSV300Line,
     hasFiniteCoordinates},
    {ExchangeFormat::GuangZhouKass, kTextFormatGuangZhouKass, "*.dat", ".dat", true, readGuangZhouKassLine,
     writeGuangZhouKassLine, hasFiniteCoordinates},
    {ExchangeFormat::SouthKass, kTextFormatSouthKass, "*.dat", ".dat", false, readSouthKassLine,
     writeSouthKassLine, hasFiniteCoordinates},
};

}  // namespace

const FormatInfo* findFormat(int number) {
    if (number < 1 || number > static_cast<int>(sizeof kFormats / sizeof kFormats[0])) return nullptr;
    return &kFormats[number - 1];
}
