// The instruments of the families as a test plays them on a FakePort,
// written from the wire layouts and apart from the program's own frame
// code: what each sends, and how it reads what the PC sends. Every family
// of the table needs one here; tests/native/FamilyTest.cpp runs each
// family's workers against its instrument.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FakeInstrument.h"

namespace fake {

struct TestInstrument {
    const char* model;
    // Receive (the instrument sends its points).
    Bytes receiveOpening;  // what it sends first; empty: nothing
    bool receiveEcho;      // it waits for the PC to write the opening back
    Bytes (*dataFrame)(const PointRecord& point, int number, int total);
    bool answeredFrames;   // it waits for the PC's answer to each frame
    Bytes endOfPoints;
    // Send (the PC sends its list).
    Bytes sendOpening;
    bool sendEcho;         // the PC writes the opening back before its frames
    PointRecord (*readFrame)(const Bytes& frame);
    Bytes answer;          // its answer to each frame the PC sends
};

// ---- Korvel: 60-byte ASCII frames both ways --------------------------------

// A coordinate as the point text carries it: '0' or '-', then the magnitude
// with three decimals in 11 characters.
inline std::string korvelNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%c%011.3f", value < 0 ? '-' : '0', std::fabs(value));
    return text;
}

inline std::string padded(const char* text, std::size_t width) {
    std::string out(text, std::strlen(text) < width ? std::strlen(text) : width);
    return out + std::string(width - out.size(), ' ');
}

inline Bytes korvelDataFrame(const PointRecord& p, int number, int total) {
    char counters[16];
    std::snprintf(counters, sizeof counters, "%04d%04d", number, total);
    const std::string text = std::string("\x02") + counters + padded(p.name, 7) + padded(p.mark, 7) +
                             korvelNumber(p.n) + korvelNumber(p.e) + korvelNumber(p.z) + "\r";
    return bytesOf(text);
}

inline std::string trimmed(const Bytes& frame, std::size_t at, std::size_t width) {
    std::string text(frame.begin() + static_cast<std::ptrdiff_t>(at),
                     frame.begin() + static_cast<std::ptrdiff_t>(at + width));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

inline double korvelValue(const Bytes& frame, std::size_t at) {
    const std::string field(frame.begin() + static_cast<std::ptrdiff_t>(at),
                            frame.begin() + static_cast<std::ptrdiff_t>(at + 12));
    const double magnitude = std::strtod(field.c_str() + 1, nullptr);
    return field[0] == '-' ? -magnitude : magnitude;
}

inline PointRecord korvelReadFrame(const Bytes& frame) {
    PointRecord p;
    if (frame.size() != 60 || frame[0] != 0x02 || frame[59] != 0x0D) return p;
    p.setName(trimmed(frame, 9, 7));
    p.setMark(trimmed(frame, 16, 7));
    p.n = korvelValue(frame, 23);
    p.e = korvelValue(frame, 35);
    p.z = korvelValue(frame, 47);
    return p;
}

// ---- Tassin: 66-byte packed frames in, 57-byte text frames out -------------

// Ten decimal digits of |value| in thousandths, two a byte, the low nibble
// holding the more significant digit.
inline void putPacked(double value, std::uint8_t* at) {
    long long units = std::llround(std::fabs(value) * 1000.0);
    int digits[10];
    for (int i = 9; i >= 0; --i) {
        digits[i] = static_cast<int>(units % 10);
        units /= 10;
    }
    for (int i = 0; i < 5; ++i) at[i] = static_cast<std::uint8_t>(digits[2 * i] | (digits[2 * i + 1] << 4));
}

inline Bytes tassinDataFrame(const PointRecord& p, int, int) {
    Bytes f(66, 0);
    f[0] = 0x55;  // the instrument's own bytes, which the PC ignores
    f[1] = 0xAA;
    f[5] = static_cast<std::uint8_t>((p.n < 0 ? 0x08 : 0) | (p.e < 0 ? 0x10 : 0) | (p.z < 0 ? 0x20 : 0));
    std::memcpy(&f[25], p.name, std::strlen(p.name) < 7 ? std::strlen(p.name) : 7);
    std::memcpy(&f[32], p.mark, std::strlen(p.mark) < 4 ? std::strlen(p.mark) : 4);
    putPacked(p.n, &f[51]);
    putPacked(p.e, &f[56]);
    putPacked(p.z, &f[61]);
    return f;
}

inline std::string upToZero(const Bytes& frame, std::size_t at, std::size_t width) {
    std::size_t n = 0;
    while (n < width && frame[at + n] != 0) ++n;
    return std::string(frame.begin() + static_cast<std::ptrdiff_t>(at),
                       frame.begin() + static_cast<std::ptrdiff_t>(at + n));
}

inline PointRecord tassinReadFrame(const Bytes& frame) {
    PointRecord p;
    if (frame.size() != 57 || frame[0] != 0xA0 || frame[1] != 0x37) return p;
    p.setName(upToZero(frame, 6, 7));
    p.setMark(upToZero(frame, 13, 4));
    p.n = std::strtod(upToZero(frame, 17, 13).c_str(), nullptr);
    p.e = std::strtod(upToZero(frame, 30, 13).c_str(), nullptr);
    p.z = std::strtod(upToZero(frame, 43, 13).c_str(), nullptr);
    return p;
}

inline Bytes tassinEndFrame() {
    Bytes f(66, 0);
    f[0] = 0x55;
    f[1] = 0xAA;
    return f;
}

// The test instrument of a family, by its model name; nullptr for none.
inline const TestInstrument* testInstrument(const std::string& model) {
    static const TestInstrument instruments[] = {
        {"Korvel", {0x01, 0x53, 0x0D}, true, korvelDataFrame, true, {0x01, 0x45, 0x0D},
         {0x01, 0x53, 0x0D}, true, korvelReadFrame, {0x06, 0x06, 0x06}},
        {"Tassin", {}, false, tassinDataFrame, false, tassinEndFrame(),
         {0xA0, 0x01, 0xA5}, false, tassinReadFrame, {0x06, 0x06, 0x06}},
    };
    for (const TestInstrument& instrument : instruments)
        if (model == instrument.model) return &instrument;
    return nullptr;
}

}  // namespace fake
