// Fakes for the point dialog and number check tests: a text table that names
// each text by its id, message boxes that record what they were asked to
// show, and entry fields held in memory.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/MessageBoxes.h"
#include "app/PointEntries.h"
#include "app/TextTable.h"

class IdTextTable : public TextTable {
public:
    std::string text(int id) const override { return "text" + std::to_string(id); }
};

struct ShownBox {
    BoxOwner owner;
    std::string text;
    std::string caption;
    BoxIcon icon;
    BoxButtons buttons;
};

class RecordingBoxes : public MessageBoxes {
public:
    bool show(BoxOwner owner, const std::string& text, const std::string& caption, BoxIcon icon,
              BoxButtons buttons) override {
        shown.push_back({owner, text, caption, icon, buttons});
        if (whileOpen) whileOpen(shown.back());
        return true;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const ShownBox& box : shown) result.push_back(box.text);
        return result;
    }
    std::vector<ShownBox> shown;
    // Runs while the box is up, as the box's message loop handles what the
    // window was sent meanwhile (commands, reports of the worker).
    std::function<void(const ShownBox&)> whileOpen;
};

// Entries as an edit control keeps them: write() shows any text whole, the
// limit only applies to typing (type()), and read() cuts to maxChars.
class FakeEntries : public PointEntries {
public:
    std::string read(int id, int maxChars) override { return text[id].substr(0, maxChars); }
    void write(int id, const std::string& value) override {
        text[id] = value;
        writesBeforeLimits += limit.empty() ? 1 : 0;
    }
    void setLimit(int id, int maxChars) override { limit[id] = maxChars; }

    // The user replaces the entry's text by typing; typing stops at the limit.
    void type(int id, const std::string& value) {
        auto found = limit.find(id);
        text[id] = found == limit.end() ? value : value.substr(0, found->second);
    }

    std::map<int, std::string> text;
    std::map<int, int> limit;
    int writesBeforeLimits = 0;
};
