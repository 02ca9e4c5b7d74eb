// Messages to the user on standard error, in the form a command-line user
// and an editor's error list expect: "file:line: what is wrong", or
// "file: what is wrong" for a whole file, or "pointlink: what is wrong" for
// the program itself. Names and marks in messages are shown with their
// control characters as '?', so that no point text can garble the terminal.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

class Report {
public:
    explicit Report(std::FILE* err) : err_(err) {}

    void atLine(const std::string& file, long line, const std::string& text);
    void onFile(const std::string& file, const std::string& text);
    void program(const std::string& text);
    // A line of progress, as is.
    void progress(const std::string& text);

private:
    std::FILE* err_;
};

// A point's name or mark as a message shows it: in double quotes, control
// characters as '?'.
std::string shownText(std::string_view text);
