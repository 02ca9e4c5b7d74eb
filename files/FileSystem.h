// The platform's file operations that writing a point file safely needs
// beyond standard C streams, and its words for a failed file operation.
#pragma once

#include <cstdio>
#include <string>

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Creates path as a new, empty file, open for writing in binary mode.
    // Never opens or truncates what exists: when the name is taken (by a file
    // or a folder), returns nullptr with taken set. On any other failure
    // returns nullptr with taken clear.
    virtual std::FILE* createNewFile(const std::string& path, bool& taken) = 0;

    // Puts the finished, closed file temp (in target's folder) in target's
    // place. A missing target: temp takes its name, never over a file that
    // appeared meanwhile. An existing target: replaced so that the file keeps
    // the target's attributes and permissions; a read-only target or a folder
    // is refused. Returns true when target holds temp's bytes and temp's name
    // is free; false when target is as it was, whole and under its name, and
    // temp is still under its own name for the caller to remove.
    virtual bool replaceFile(const std::string& temp, const std::string& target) = 0;

    // A new file for a writer's passing use, open for reading and writing in
    // binary mode, which the system removes once it is closed (or the
    // program ends). nullptr when none can be made; the writer then keeps
    // what it would have put there in memory.
    virtual std::FILE* createScratchFile() { return nullptr; }

    // Whether the open file is a file on a disk, which reading comes to the
    // end of at once: not a terminal, a pipe or a device. False where it
    // cannot tell.
    virtual bool isPlainFile(std::FILE* file) { (void)file; return false; }

    // Asks the system to start putting what has been written to the open
    // file on the disk, without waiting for it to be there, so that the
    // sync that ends a safe write has less left to do. Only a request:
    // where the system takes none, or fails it, nothing happens. Called on
    // any thread.
    virtual void startWriteback(std::FILE* file) { (void)file; }

    // The platform's text for the last failed file operation (fopen, fread,
    // fwrite, createNewFile, replaceFile...), in the user's language.
    virtual std::string lastErrorText() = 0;
};
