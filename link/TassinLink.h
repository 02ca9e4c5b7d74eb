// The Tassin wire format.
//
// Incoming data frame, 66 bytes: byte 5 sign flags (0x08 N, 0x10 E, 0x20 Z
// negative); bytes 25..31 name and 32..35 mark, each up to its first zero
// byte; bytes 51, 56, 61 start the packed numbers N, E, Z. A block whose
// bytes 2..65 are all zero ends the receive; nothing else is checked.
//
// Packed number, 5 bytes: ten digits d1..d10, most significant byte first,
// the LOW nibble holding the more significant digit of each byte; they read
// as d1..d7.d8d9d10. The sign lives in the flags byte.
//
// Outgoing data frame, 57 bytes: 0xA0, the length 0x37, the total "%4d" cut
// to 4 characters, name (7), mark (4: 3 characters and zero padding), N, E
// and Z as "%.3f" texts cut to 13 bytes, and a last zero byte. A text field
// whose text is shorter than the field ends with a zero byte; every byte the
// layout leaves unset is zero.
//
// A send opens with the instrument's sync A0 01 A5; each frame the PC sends
// is answered by 3 bytes that are not examined.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "points/PointRecord.h"

constexpr std::size_t kTassinInFrameLength = 66;
constexpr std::size_t kTassinOutFrameLength = 57;
constexpr std::size_t kTassinSyncLength = 3;
constexpr std::size_t kTassinAckLength = 3;
constexpr std::size_t kTassinPackedLength = 5;
constexpr std::size_t kTassinNumberField = 13;

constexpr std::uint8_t kTassinFlagN = 0x08;
constexpr std::uint8_t kTassinFlagE = 0x10;
constexpr std::uint8_t kTassinFlagZ = 0x20;

using TassinInFrame = std::array<std::uint8_t, kTassinInFrameLength>;
using TassinOutFrame = std::array<std::uint8_t, kTassinOutFrameLength>;

extern const std::uint8_t kTassinSync[kTassinSyncLength];  // A0 01 A5

bool isTassinSync(const std::uint8_t* bytes);

// The value of a packed number. The digits pass through a text that is read
// like "%lf": a nibble above 9 ends the number at that digit (21 4A 65 87 19
// gives 12), and a number of which no digit can be read is 0.
double decodePackedNumber(const std::uint8_t* packed, bool negative);

bool isTassinEndFrame(const TassinInFrame& frame);

// Fills a newly made record from a data frame.
void decodeTassinFrame(const TassinInFrame& frame, PointRecord& point);

// Builds the whole outgoing frame of the record in a send of total points.
// The frame carries the name without its trailing spaces.
void encodeTassinRecord(const PointRecord& point, int total, TassinOutFrame& frame);

// Removes trailing spaces from the record's name, as a sent point keeps it
// after the send. True when the name changed.
bool trimTassinName(PointRecord& point);

// The "%.3f" text of a coordinate as the frame carries it before the cut to
// 13 bytes; a send refuses points whose text is longer than the field.
std::size_t tassinNumberTextLength(double value);

// True when the frame carries every coordinate of the point exactly: each
// a finite number whose "%.3f" text fits the 13-byte field.
bool tassinCanCarry(const PointRecord& point);
