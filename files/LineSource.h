// Reads a point file as lines, the way a text-mode fgets with a 1024-byte
// buffer hands them out: CR LF becomes LF, a line keeps its LF, and a line
// longer than 1023 characters arrives in pieces of at most 1023. A last
// line without a line end is a line too. A Ctrl-Z (0x1A) ends the file as
// it ends a text-mode stream: the lines before it are read, nothing after
// it. Reads in large blocks for speed.
#pragma once

#include <cstdio>
#include <vector>

class LineSource {
public:
    static constexpr std::size_t kMaxPiece = 1023;

    explicit LineSource(std::FILE* file);

    // The next line or piece, NUL-terminated, or nullptr at the end of the
    // file or after a read error (failed() tells which).
    const char* next();
    bool failed() const { return failed_; }

private:
    bool fill();
    int raw();
    int get();

    std::FILE* file_;
    std::vector<char> block_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    int pushed_ = -1;  // a byte read ahead after a lone CR
    char line_[kMaxPiece + 1];
};

// How many lines the file holds from its current position on, up to its
// first Ctrl-Z as LineSource reads them: its line ends, plus a last line
// without one. Lines longer than 1023 characters count once although they
// arrive in pieces. The file's position is put back where it was; 0 when it
// cannot be (callers check the position).
std::size_t countLines(std::FILE* file);
