#include "app/PortList.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <utility>

namespace {

const char* const kFixedPorts[] = {"COM1", "COM2", "COM3", "COM4"};

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::string upperCase(std::string text) {
    for (char& c : text) c = upper(c);
    return text;
}

// The name without surrounding white space and device prefix; empty when
// it cannot stand in the box.
std::string bareName(const std::string& name) {
    const char* space = " \t\r\n\v\f";
    std::size_t first = name.find_first_not_of(space);
    if (first == std::string::npos) return std::string();
    std::string bare = name.substr(first, name.find_last_not_of(space) - first + 1);
    if (bare.compare(0, 4, "\\\\.\\") == 0) bare.erase(0, 4);
    bool control = std::any_of(bare.begin(), bare.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (control || bare.size() > kPortNameMax) return std::string();
    return bare;
}

// The number of "COM<n>", or 0 when the name is not a numbered port.
int portNumber(const std::string& name) {
    if (name.size() < 4 || upperCase(name.substr(0, 3)) != "COM" || name[3] == '0') return 0;
    long long number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
        number = number * 10 + (name[i] - '0');
        if (number > INT_MAX) return 0;
    }
    return static_cast<int>(number);
}

}  // namespace

std::vector<std::string> portBoxItems(const std::vector<std::string>& present) {
    std::vector<int> numbered;
    std::vector<std::pair<std::string, std::string>> others;  // (upper case, as given)
    for (const std::string& name : present) {
        std::string bare = bareName(name);
        if (bare.empty()) continue;
        if (int number = portNumber(bare)) {
            if (number > 4) numbered.push_back(number);
        } else {
            others.emplace_back(upperCase(bare), bare);
        }
    }
    std::sort(numbered.begin(), numbered.end());
    numbered.erase(std::unique(numbered.begin(), numbered.end()), numbered.end());
    // Sorted by the upper-case form, the first spelling of a name seen wins.
    std::stable_sort(others.begin(), others.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    others.erase(std::unique(others.begin(), others.end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 others.end());

    std::vector<std::string> items(std::begin(kFixedPorts), std::end(kFixedPorts));
    for (int number : numbered) items.push_back("COM" + std::to_string(number));
    for (const auto& other : others) items.push_back(other.second);
    return items;
}
