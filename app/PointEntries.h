// The five entry fields of the point dialog, addressed by control id
// (kEntry..., resources/resource.h).
//
// Entries hold narrow text in the platform's code page. Reading never gives
// more than maxChars characters: a longer entry is cut, as the platform's
// own text read cuts it to the caller's buffer. The limit set with setLimit
// bounds what the user can type; text written with write() is shown whole
// even when it is longer than the limit.
#pragma once

#include <string>

#include "resources/resource.h"

class PointEntries {
public:
    virtual ~PointEntries() = default;
    virtual std::string read(int id, int maxChars) = 0;
    virtual void write(int id, const std::string& text) = 0;
    virtual void setLimit(int id, int maxChars) = 0;
};
