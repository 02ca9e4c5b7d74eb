// Temporary files holding given bytes, and the bytes a file holds, for the
// tests of what reads and writes files.
#pragma once

#include <cstdio>
#include <string>

// A temporary file holding text, at its start; removed when closed.
inline std::FILE* fileWith(const std::string& text) {
    std::FILE* file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    return file;
}

// Everything the file holds, from its start.
inline std::string contentOf(std::FILE* file) {
    std::string bytes;
    std::rewind(file);
    char block[1 << 16];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    return bytes;
}
