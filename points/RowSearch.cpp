#include "points/RowSearch.h"

#include "points/PointStore.h"

namespace {

unsigned char folded(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c; }

bool matches(const char* name, std::string_view text, bool partial, bool (*isLeadByte)(unsigned char)) {
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char t = static_cast<unsigned char>(text[i]);
        const unsigned char n = static_cast<unsigned char>(name[i]);
        if (n == 0) return false;
        if (isLeadByte(t)) {
            // Both bytes of the character as they stand.
            if (n != t || i + 1 >= text.size() || name[i + 1] != text[i + 1]) return false;
            i += 2;
            continue;
        }
        if (folded(n) != folded(t)) return false;
        ++i;
    }
    return partial || name[i] == '\0';
}

}  // namespace

int findRowByName(const PointStore& store, std::string_view text, bool partial, std::size_t start, bool wrap,
                  bool (*isLeadByte)(unsigned char byte)) {
    const std::size_t size = store.size();
    if (text.empty() || size == 0) return -1;
    if (start >= size) {
        if (!wrap) return -1;
        start = 0;
    }
    const std::size_t rows = wrap ? size : size - start;
    for (std::size_t step = 0; step < rows; ++step) {
        const std::size_t row = (start + step) % size;
        if (matches(store.at(row).name, text, partial, isLeadByte)) return static_cast<int>(row);
    }
    return -1;
}
