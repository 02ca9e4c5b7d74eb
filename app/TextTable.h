// Text lookup by id in the user-interface language.
//
// Ids 1 to 32 are the program's table; ids from 40 on are the texts this
// program adds for failures the table has no words for. A missing id gives
// an empty string.
#pragma once

#include <string>

#include "resources/resource.h"

class TextTable {
public:
    virtual ~TextTable() = default;
    virtual std::string text(int id) const = 0;
};
