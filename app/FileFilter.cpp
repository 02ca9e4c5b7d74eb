#include "app/FileFilter.h"

#include "app/TextTable.h"
#include "files/ExchangeFormat.h"

std::string buildFileFilter(const TextTable& texts) {
    std::string filter;
    for (int number = 1; const FormatInfo* format = findFormat(number); ++number) {
        filter += texts.text(format->nameTextId).substr(0, 63);
        filter += '(';
        filter += format->pattern;
        filter += ')';
        filter += '\0';
        filter += format->pattern;
        filter += '\0';
    }
    filter += '\0';
    return filter;
}
