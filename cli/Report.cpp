#include "cli/Report.h"

void Report::atLine(const std::string& file, long line, const std::string& text) {
    std::fprintf(err_, "%s:%ld: %s\n", file.c_str(), line, text.c_str());
}

void Report::onFile(const std::string& file, const std::string& text) {
    std::fprintf(err_, "%s: %s\n", file.c_str(), text.c_str());
}

void Report::program(const std::string& text) { std::fprintf(err_, "pointlink: %s\n", text.c_str()); }

void Report::progress(const std::string& text) {
    std::fprintf(err_, "%s\n", text.c_str());
    std::fflush(err_);
}

std::string shownText(std::string_view text) {
    std::string shown = "\"";
    for (char c : text) shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    return shown + "\"";
}
