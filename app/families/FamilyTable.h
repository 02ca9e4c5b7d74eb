// The table of the instrument families, one entry each.
//
// To add a family:
//  1. its link part: link/<Name>Link.* (its frames) and link/<Name>Workers.*
//     (its workers and its LinkProtocol, link/LinkProtocol.h);
//  2. its entry: app/families/<Name>Family.cpp defining k<Name>Family;
//  3. its row: the declaration below and the entry in FamilyTable.cpp;
//  4. its program: <Name> in RUVO_FAMILIES (CMakeLists.txt), which builds
//     <name>link with this entry and the texts carrying <Name>;
//  5. its texts, if its titles need words of their own: an id in
//     resources/resource.h and the text in both languages of
//     resources/texts.rc.in;
//  6. its instrument for the tests, from its wire layout, in
//     tests/native/fakes/Instruments.h (and in the simulator,
//     tools/stationsim, for the end-to-end tests), and its name in the
//     release packages (tools/installer).
// tests/native/FamilyTest.cpp runs every entry through the same checks.
#pragma once

#include <vector>

#include "app/families/InstrumentFamily.h"

extern const InstrumentFamily kKorvelFamily;
extern const InstrumentFamily kTassinFamily;

// Every family, in the order of RUVO_FAMILIES.
const std::vector<const InstrumentFamily*>& instrumentFamilies();
