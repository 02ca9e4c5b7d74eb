#include "files/FileBeside.h"

#include <chrono>

#include "files/FileSystem.h"

std::string folderOf(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string besideName(const std::string& target, unsigned number) {
    static const char kHex[] = "0123456789abcdef";
    std::string name = folderOf(target) + "~ex";
    for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(number >> shift) & 0xF];
    return name + ".tmp";
}

std::FILE* createFileBeside(FileSystem& files, const std::string& target, std::string& name) {
    static unsigned next =
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() / 1000);
    for (int attempt = 0; attempt < kBesideAttempts; ++attempt) {
        name = besideName(target, next++);
        bool taken = false;
        if (std::FILE* file = files.createNewFile(name, taken)) return file;
        if (!taken) break;
    }
    name.clear();
    return nullptr;
}
