// One instrument family as the program serves it: everything in which
// korvellink and tassinlink differ. Each program takes its family's entry
// at build time (RUVO_FAMILIES in CMakeLists.txt); app/families/
// FamilyTable.h lists them all.
#pragma once

#include <string>

class TextTable;
struct LinkProtocol;
struct TransferTitle;

// The five columns of the point list.
enum class ListColumn { Name, Mark, N, E, Z };

// How a point handed over by a receive enters the list: by appendRow
// (selected, focused, scrolled in as far as it shows, the list modified) or
// by insertFrameRow (selected but not focused, scrolled wholly into view,
// the modified flag untouched). An Import enters its points the same way.
enum class ArrivalEntry { AppendRow, InsertFrameRow };

struct InstrumentFamily {
    // The model's name as the texts carry it ("Korvel"), which is the
    // family's name in RUVO_FAMILIES.
    const char* modelName;
    // The list's columns from left to right; each coordinate stands under
    // the header that names it.
    ListColumn columns[5];
    ArrivalEntry arrival;
    // Its workers, what one send can carry, what a send leaves of its points.
    const LinkProtocol& link;
    // The title after a received point (TransferTitle::Step::Received), in
    // the language of texts.
    std::string (*receivedTitle)(const TextTable& texts, const TransferTitle& title);
};
