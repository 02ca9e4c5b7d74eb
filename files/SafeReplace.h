// A target replaced only by a complete file. The bytes go to a new file of
// the program's own beside the target (files/FileBeside.h), which takes the
// target's place (FileSystem::replaceFile) only once it is written whole
// and closed: a failed write leaves the old file whole, and no other file is
// ever opened.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

class FileSystem;

// write puts the whole file into the open stream it is given and returns
// false when any write failed. True when target holds what write wrote.
// False leaves target as it was, removes the new file and puts the
// platform's words for the failure in reason.
bool replaceSafely(FileSystem& files, const std::string& target, const std::function<bool(std::FILE*)>& write,
                   std::string& reason);
