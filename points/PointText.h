// The 50-character fixed-width text of one point, shared by the Korvel data
// frame and the Ruvo file line:
//
//   pos  0  7 chars  name, left-justified, space-filled
//   pos  7  7 chars  mark, likewise
//   pos 14 12 chars  N: sign '0' or '-', then |N| as "%11.3f" with leading zeros
//   pos 26 12 chars  E, likewise
//   pos 38 12 chars  Z, likewise
//
// In a frame the text occupies bytes 9..58 and byte 59 is CR; bytes 0..8
// (start byte and counters) belong to the link protocol. None of these
// operations reports an error; they own nothing.
#pragma once

#include <cstddef>

#include "points/PointRecord.h"

constexpr std::size_t kPointTextLength = 50;
constexpr std::size_t kPointTextOffset = 9;   // where the text starts in a frame
constexpr std::size_t kPointFrameLength = 60; // Korvel data frame, CR included

// Largest magnitude a number field can hold (11 characters, three decimals).
constexpr double kPointTextMaxMagnitude = 9999999.999;

// Writes the point text into frame[9..58] and CR into frame[59]; frame[0..8]
// are left untouched. frame must hold at least 60 bytes. Names and marks
// longer than 7 characters are cut to 7 so that no field moves.
void formatPointFrame(const PointRecord& point, char* frame);

// Sets name, mark, n, e, z from frame[9..58]. A number field that yields no
// number leaves its coordinate as it was.
void parsePointFrame(const char* frame, PointRecord& point);

// Formats the point text into work[9..58], NUL-terminates it at work[59] and
// returns work + 9. work must hold at least 60 bytes.
const char* formatPointLine(const PointRecord& point, char* work);

// Sets the record from the first 50 characters of a NUL-terminated file line;
// the rest of the line (its line end included) is ignored. Fields that lie
// wholly past the end of a shorter line leave their values unchanged.
void parsePointLine(const char* line, PointRecord& point);

// True when every coordinate rounds to a magnitude the number fields can
// hold, so the text carries the point's value faithfully (names and marks
// are cut to 7 characters, which callers accept).
bool pointTextCanHold(const PointRecord& point);
