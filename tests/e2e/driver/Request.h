// One request line of the driver protocol and the reply it produces.
//
// Request: a verb followed by key=value words separated by single spaces.
// Numbers are decimal (a leading "0x" means hex, a leading "-" is allowed);
// strings are hex of their UTF-8 bytes and may be empty ("title=").
// Reply: "ok" followed by fields, or "err <message>". Numbers are decimal;
// each string field is "x" followed by its hex digits, so "x" alone is "".
#pragma once

#include <map>
#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

class Request {
public:
    // Splits the line; throws DriverError on a word without "=".
    explicit Request(const std::string& line);

    const std::string& verb() const { return verb_; }
    bool has(const std::string& key) const { return values_.count(key) != 0; }

    // Each getter throws DriverError when the key is missing (and no fallback
    // is given) or the value does not parse.
    long long number(const std::string& key) const;
    long long number(const std::string& key, long long fallback) const;
    std::string text(const std::string& key) const;  // hex-decoded UTF-8
    std::string text(const std::string& key, const std::string& fallback) const;
    HWND window(const std::string& key = "hwnd") const;
    // A comma-separated list of numbers ("exclude=65620,65700"); empty if missing.
    std::vector<long long> numbers(const std::string& key) const;

private:
    const std::string& raw(const std::string& key) const;

    std::string verb_;
    std::map<std::string, std::string> values_;
};

// Builds an "ok" reply field by field.
class Reply {
public:
    Reply& num(long long value);
    Reply& str(const std::string& utf8);
    Reply& wide(const std::wstring& text);
    const std::string& line() const { return line_; }

private:
    std::string line_ = "ok";
};

long long parseNumber(const std::string& word);

}  // namespace e2e
