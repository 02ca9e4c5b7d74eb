// Finds the row that a user means by typing the start of a point's name
// into the list, as a list control finds an item by its text.
//
// The search looks at the rows from start on and, with wrap, goes on from
// the top up to the row before start. A row matches when its name equals
// text, or, with partial, begins with it. The letters A to Z match either
// case; a double-byte character (its lead byte as isLeadByte tells) matches
// only itself. Returns the row, or -1 when none matches or text is empty.
#pragma once

#include <cstddef>
#include <string_view>

class PointStore;

int findRowByName(const PointStore& store, std::string_view text, bool partial, std::size_t start, bool wrap,
                  bool (*isLeadByte)(unsigned char byte));
