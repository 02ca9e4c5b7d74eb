// Writing a file safely, as the window programs' Export does: the new
// content goes to a file of the program's own beside the target
// (files/FileBeside.h), which takes the target's place only once it is
// complete and on the disk. A run that fails or is stopped leaves the
// target as it was.
//
// What is not a file (a FIFO, a device such as /dev/null or NUL, a
// terminal) is written into instead, as standard output is: such an
// output cannot be taken back.
#pragma once

#include <cstdio>
#include <string>

class ConsoleFiles;
class FileSystem;

class OutputFiles {
public:
    explicit OutputFiles(ConsoleFiles& files) : files_(files) {}

    // Opens an input file for reading bytes; nullptr on failure.
    std::FILE* openInput(const std::string& path);

    // Opens target for writing into it when it is not a file but a FIFO or
    // a device (ConsoleFiles::openInPlace); inPlace tells whether it is.
    std::FILE* openInPlace(const std::string& target, bool& inPlace);

    // Creates the new, empty file for target and stores its name in temp;
    // nullptr on failure.
    std::FILE* createBeside(const std::string& target, std::string& temp);

    // Flushes the file to the disk, closes it and puts it in target's place
    // (FileSystem::replaceFile). True when target now holds the new bytes;
    // false when target is as it was, and temp has been removed.
    bool commit(std::FILE* file, const std::string& temp, const std::string& target);

    // Closes and removes the file; target is untouched.
    void discard(std::FILE* file, const std::string& temp);

    // The platform's words for the last failure of the calls above, or of
    // reading or writing one of their files.
    std::string errorText();

    // The file system the files are written in, for a sink that writes
    // behind (files/TextSink.h).
    FileSystem& system();

private:
    ConsoleFiles& files_;
    std::string error_;  // kept at the failure, before cleaning up could change it
};
