// Files of the program's own in the folder of a file it replaces: the
// finished lines of an Export before they take the target's place, and the
// backup of a target while it is being replaced.
//
// Such a file is always created new: a name that is taken (by a file or a
// folder) is never opened, and another name is tried instead, up to
// kBesideAttempts names. The names are short ("~ex" and four hexadecimal
// digits, ".tmp") so that they fit wherever the target's name fits, and
// they start at a number that differs from run to run, so that files left
// behind by a run that was killed cost no more than a few tries.
#pragma once

#include <cstdio>
#include <string>

class FileSystem;

constexpr int kBesideAttempts = 100;

// The folder part of a path, with its separator ('\\', '/' or the ':' of a
// drive); empty for a bare file name.
std::string folderOf(const std::string& path);

// Candidate name `number` for a file in target's folder. Numbers that differ
// in their low 16 bits give different names.
std::string besideName(const std::string& target, unsigned number);

// Creates a new file for binary writing in target's folder and stores its
// name in name. nullptr when no file could be made (every name tried was
// taken, or the platform refused; files.lastErrorText() tells why).
std::FILE* createFileBeside(FileSystem& files, const std::string& target, std::string& name);
