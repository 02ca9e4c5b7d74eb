#include "Request.h"

#include "Codec.h"
#include "DriverError.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace e2e {

long long parseNumber(const std::string& word) {
    if (word.empty()) throw DriverError("empty number");
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(word.c_str(), &end, 0);
    if (errno != 0 || *end != '\0') throw DriverError("bad number '" + word + "'");
    return value;
}

Request::Request(const std::string& line) {
    std::istringstream words(line);
    words >> verb_;
    std::string word;
    while (words >> word) {
        size_t eq = word.find('=');
        if (eq == std::string::npos) throw DriverError("argument without '=': " + word);
        values_[word.substr(0, eq)] = word.substr(eq + 1);
    }
}

const std::string& Request::raw(const std::string& key) const {
    auto it = values_.find(key);
    if (it == values_.end()) throw DriverError("missing argument " + key);
    return it->second;
}

long long Request::number(const std::string& key) const { return parseNumber(raw(key)); }

long long Request::number(const std::string& key, long long fallback) const {
    return has(key) ? number(key) : fallback;
}

std::string Request::text(const std::string& key) const { return fromHex(raw(key)); }

std::string Request::text(const std::string& key, const std::string& fallback) const {
    return has(key) ? text(key) : fallback;
}

HWND Request::window(const std::string& key) const {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(number(key)));
}

std::vector<long long> Request::numbers(const std::string& key) const {
    std::vector<long long> out;
    if (!has(key)) return out;
    std::istringstream parts(raw(key));
    std::string part;
    while (std::getline(parts, part, ',')) {
        if (!part.empty()) out.push_back(parseNumber(part));
    }
    return out;
}

Reply& Reply::num(long long value) {
    line_ += ' ';
    line_ += std::to_string(value);
    return *this;
}

Reply& Reply::str(const std::string& utf8) {
    line_ += " x";
    line_ += toHex(utf8);
    return *this;
}

Reply& Reply::wide(const std::wstring& text) { return str(wideToUtf8(text)); }

}  // namespace e2e
