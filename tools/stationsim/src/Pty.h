// The instrument's end of a pseudo-terminal. The PC side (a program under
// Wine, or a test) opens the slave device as its serial port.
//
// Nothing on a pty tells the instrument that the PC is listening, so the
// simulator watches for the slave being opened: while no process holds the
// slave open, polling the master reports a hang-up. A fresh pty does not,
// so open() opens and closes the slave once to start in the hung-up state.
//
// Bytes written to the master while the slave is closed, or left unread when
// the PC closed it, stay queued for the next opener; drainSlave() throws
// them away so that a new transfer starts on a clean line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Pty {
public:
    Pty() = default;
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Makes a new pty in raw mode (no echo, no line editing, no CR/LF
    // translation). False with errorText() set on failure.
    bool open();
    void close();
    bool isOpen() const { return master_ >= 0; }

    const std::string& slavePath() const { return slavePath_; }
    int masterFd() const { return master_; }
    const std::string& errorText() const { return error_; }

    // True while some process holds the slave open.
    bool peerOpen() const;

    // Discards every byte queued in either direction. The PC never speaks
    // first, so nothing it would still want is lost.
    void drainSlave();

private:
    int master_ = -1;
    std::string slavePath_;
    std::string error_;
};

// Points a symlink at target, replacing whatever was at path atomically.
bool publishLink(const std::string& path, const std::string& target, std::string& error);
