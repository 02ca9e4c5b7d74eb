#include "cli/OutputFiles.h"

#include "cli/Console.h"
#include "files/FileBeside.h"
#include "files/FileSystem.h"

std::FILE* OutputFiles::openInput(const std::string& path) {
    error_.clear();
    return std::fopen(path.c_str(), "rb");
}

std::FILE* OutputFiles::openInPlace(const std::string& target, bool& inPlace) {
    std::FILE* file = files_.openInPlace(target, inPlace);
    error_ = file || !inPlace ? std::string() : files_.system().lastErrorText();
    return file;
}

std::FILE* OutputFiles::createBeside(const std::string& target, std::string& temp) {
    std::FILE* file = createFileBeside(files_.system(), files_.realTarget(target), temp);
    error_ = file ? std::string() : files_.system().lastErrorText();
    return file;
}

bool OutputFiles::commit(std::FILE* file, const std::string& temp, const std::string& target) {
    FileSystem& system = files_.system();
    bool ok = std::fflush(file) == 0 && files_.syncToDisk(file);
    if (!ok) error_ = system.lastErrorText();
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error_ = system.lastErrorText();
    }
    if (ok && !system.replaceFile(temp, files_.realTarget(target))) {
        ok = false;
        error_ = system.lastErrorText();
    }
    if (!ok) std::remove(temp.c_str());
    return ok;
}

void OutputFiles::discard(std::FILE* file, const std::string& temp) {
    std::fclose(file);
    std::remove(temp.c_str());
}

std::string OutputFiles::errorText() { return error_.empty() ? files_.system().lastErrorText() : error_; }

FileSystem& OutputFiles::system() { return files_.system(); }
