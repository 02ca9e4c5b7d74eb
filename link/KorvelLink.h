// The Korvel wire format. The instrument opens every transfer with the
// handshake, which the PC echoes; points travel as 60-byte data frames:
//
//   pos  0  1 byte   STX 0x02
//   pos  1  4 chars  sequence number from 1, "%04d"
//   pos  5  4 chars  number of points in the transfer, "%04d"
//   pos  9 50 chars  PointText of the point
//   pos 59  1 byte   CR 0x0D
//
// The PC answers each received frame with its bytes 0..8 and CR; the
// instrument answers each frame the PC sends with 3 bytes that are not
// examined. At the end of a receive the instrument sends the end message.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "points/PointRecord.h"

constexpr std::size_t kKorvelControlLength = 3;
constexpr std::size_t kKorvelFrameLength = 60;
constexpr std::size_t kKorvelReplyLength = 10;
constexpr std::size_t kKorvelAckLength = 3;

// The counters hold four digits, so a send carries at most this many points.
constexpr int kKorvelMaxPoints = 9999;

using KorvelFrame = std::array<std::uint8_t, kKorvelFrameLength>;
using KorvelReply = std::array<std::uint8_t, kKorvelReplyLength>;

extern const std::uint8_t kKorvelHandshake[kKorvelControlLength];   // 01 53 0D
extern const std::uint8_t kKorvelEndMessage[kKorvelControlLength];  // 01 45 0D

bool isKorvelHandshake(const std::uint8_t* bytes);
bool isKorvelEndMessage(const std::uint8_t* bytes);

// Builds the frame of point sequence (from 1) of total. Both must lie in
// 1..kKorvelMaxPoints; larger numbers would not fit the counters and are
// refused (false, frame untouched).
bool buildKorvelFrame(const PointRecord& point, int sequence, int total, KorvelFrame& frame);

// Fills the record from a received frame; only the point text is read.
void parseKorvelFrame(const KorvelFrame& frame, PointRecord& point);

// The PC's answer to a received frame: its bytes 0..8, then CR.
KorvelReply korvelFrameReply(const KorvelFrame& frame);

// How far a receive has come by a received frame's counters: the point's
// number of the total. A point's number never exceeds the total, so the
// smaller counter is taken for the number and the larger for the total,
// whichever the instrument puts first. When a counter is not four digits,
// or the total is 0, the total is unknown: {0, 0}.
struct KorvelProgress {
    int done;
    int total;
};
KorvelProgress korvelReceiveProgress(const KorvelFrame& frame);
