// The list of file types that the Open and Save dialogs show, one entry per
// exchange format in number order: "Name(*.ext)" NUL "*.ext" NUL, the list
// ended by one more NUL. The names come in the user-interface language.
#pragma once

#include <string>

class TextTable;

std::string buildFileFilter(const TextTable& texts);
