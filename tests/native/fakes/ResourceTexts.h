// The programs' own text table, read from the sources as the resource
// compiler reads it: the ids of resources/resource.h and the two string
// tables of resources/texts.rc.in, with a program's model name and the
// project's version put in. Tests that check what a text says use these
// texts rather than copies of them.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/TextTable.h"

namespace rc {

enum class Language { English, Chinese };

inline std::string readSource(const std::string& relative) {
    std::ifstream in(std::string(RUVO_SOURCE_DIR) + "/" + relative, std::ios::binary);
    if (!in) ADD_FAILURE() << "cannot read " << relative;
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The words of a line, split at white space.
inline std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The numeric #defines of resource.h whose names start with prefix.
inline std::map<std::string, int> resourceIds(const std::string& prefix) {
    std::map<std::string, int> ids;
    std::istringstream header(readSource("resources/resource.h"));
    for (std::string line; std::getline(header, line);) {
        const std::vector<std::string> words = wordsOf(line);
        if (words.size() < 3 || words[0] != "#define" || words[1].rfind(prefix, 0) != 0) continue;
        if (words[2].find_first_not_of("0123456789") != std::string::npos) continue;
        ids[words[1]] = std::stoi(words[2]);
    }
    return ids;
}

// A string of a resource script without its quotes: "" is a quote, \n a
// line end, \\ a backslash, \" a quote.
inline std::string unquote(const std::string& quoted) {
    std::string out;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        char c = quoted[i];
        if (c == '"' && quoted[i + 1] == '"') {
            out += '"';
            ++i;
        } else if (c == '\\' && i + 2 < quoted.size()) {
            char next = quoted[++i];
            out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            out += c;
        }
    }
    return out;
}

// Each language's string table: {id name: text as written, @...@ kept}.
// Entries that appear twice are reported as failures.
inline std::map<Language, std::map<std::string, std::string>> stringTables() {
    std::map<Language, std::map<std::string, std::string>> tables;
    std::istringstream script(readSource("resources/texts.rc.in"));
    Language language = Language::English;
    bool inTable = false;
    for (std::string line; std::getline(script, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("LANGUAGE ", 0) == 0)
            language = line.find("LANG_CHINESE") != std::string::npos ? Language::Chinese : Language::English;
        if (line == "BEGIN") inTable = true;
        if (line == "END") inTable = false;
        // An entry: an id, white space, then the quoted text to the line's end.
        const std::size_t start = line.find_first_not_of(" \t");
        const std::size_t quote = line.find('"');
        if (!inTable || start == std::string::npos || quote == std::string::npos || quote <= start) continue;
        const std::string name = wordsOf(line.substr(start, quote - start)).at(0);
        const std::size_t last = line.find_last_not_of(" \t");
        if (!tables[language].emplace(name, unquote(line.substr(quote, last + 1 - quote))).second)
            ADD_FAILURE() << name << " stands twice in one language";
    }
    return tables;
}

inline std::string replaceAll(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// The text table a program shows in a language, as its build configures it.
class ProgramTexts : public TextTable {
public:
    explicit ProgramTexts(const std::string& model, Language language = Language::English) {
        const auto ids = resourceIds("IDS_");
        const auto tables = stringTables();
        for (const auto& [name, text] : tables.at(language)) {
            auto id = ids.find(name);
            if (id == ids.end()) continue;
            texts_[id->second] =
                replaceAll(replaceAll(text, "@MODEL@", model), "@PROJECT_VERSION@", RUVO_PROJECT_VERSION);
        }
    }
    std::string text(int id) const override {
        auto found = texts_.find(id);
        return found == texts_.end() ? std::string() : found->second;
    }

private:
    std::map<int, std::string> texts_;
};

}  // namespace rc
