// The instrument families pointlink talks to, by the name a command line
// gives them: the link part of each family (link/LinkProtocol.h). A new
// family (app/families/FamilyTable.h) adds its row here as well.
#pragma once

#include <cstddef>
#include <string_view>

struct LinkProtocol;

struct Instrument {
    const char* name;       // "korvel", as typed
    const char* modelName;  // "Korvel", as messages show it
    const LinkProtocol* link;
};

std::size_t instrumentCount();
const Instrument& instrumentAt(std::size_t index);
// The instrument of this name, in any case; nullptr for any other.
const Instrument* findInstrument(std::string_view name);
