// The platform's part of writing a file safely: the new content goes to a
// file of the program's own beside the target, which takes the target's
// place only once it is complete and on the disk. A run that fails or is
// stopped leaves the target as it was.
#pragma once

#include <cstdio>
#include <string>

class OutputFiles {
public:
    virtual ~OutputFiles() = default;

    // Opens an input file for reading bytes; nullptr on failure.
    virtual std::FILE* openInput(const std::string& path) = 0;

    // Creates a new, empty file for writing bytes in the folder of target
    // (never opening a file that exists) and stores its name in temp.
    // nullptr on failure.
    virtual std::FILE* createBeside(const std::string& target, std::string& temp) = 0;

    // Flushes the written file to the disk, closes it and puts it in
    // target's place: a missing target is created, an existing one replaced
    // so that it keeps its permissions; a target that is a folder or that
    // the user may not write is refused. True when target now holds the new
    // bytes. False when target is as it was; temp has then been removed.
    virtual bool commit(std::FILE* file, const std::string& temp, const std::string& target) = 0;

    // Closes and removes the written file; target is untouched.
    virtual void discard(std::FILE* file, const std::string& temp) = 0;

    // The platform's text for the last failure of the operations above, or
    // of reading or writing one of their files.
    virtual std::string errorText() = 0;
};
