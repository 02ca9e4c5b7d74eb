// An AppState on fakes whose file dialogs pick names in a folder of its
// own, made for the test and removed after it, with the steps of Import and
// Export as a user takes them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AppFakes.h"

struct FileHarness : AppHarness {
    using Names = std::vector<std::string>;

    explicit FileHarness(const InstrumentFamily& family = kKorvelFamily) : AppHarness(family) {
        static int made = 0;
        dir = std::filesystem::temp_directory_path() /
              ("ruvo-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(++made));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    ~FileHarness() { std::filesystem::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void importAs(const std::string& name, int format) {
        files.picks.push_back({true, path(name), format});
        app.importFile();
    }
    // The names in the folder, sorted.
    Names names() const {
        Names found;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    void exportAs(const std::string& name, int format) {
        files.picks.push_back({true, path(name), format});
        app.exportFile();
    }
    std::filesystem::path dir;
};
