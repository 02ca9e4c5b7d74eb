// A file system for writers that has nothing but scratch files.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "files/FileSystem.h"

// Its scratch files are what make returns.
class ScratchFiles : public FileSystem {
public:
    explicit ScratchFiles(std::function<std::FILE*()> make) : make_(std::move(make)) {}
    std::FILE* createNewFile(const std::string&, bool& taken) override {
        taken = false;
        return nullptr;
    }
    bool replaceFile(const std::string&, const std::string&) override { return false; }
    std::FILE* createScratchFile() override { return make_(); }
    std::string lastErrorText() override { return ""; }

private:
    std::function<std::FILE*()> make_;
};
