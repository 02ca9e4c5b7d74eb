#include "link/KorvelLink.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "points/PointText.h"

const std::uint8_t kKorvelHandshake[kKorvelControlLength] = {0x01, 0x53, 0x0D};
const std::uint8_t kKorvelEndMessage[kKorvelControlLength] = {0x01, 0x45, 0x0D};

namespace {
constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kCr = 0x0D;

// The four digits at frame[start], or -1 when they are not four digits.
int counterAt(const KorvelFrame& frame, std::size_t start) {
    int value = 0;
    for (std::size_t i = start; i < start + 4; ++i) {
        if (frame[i] < '0' || frame[i] > '9') return -1;
        value = value * 10 + (frame[i] - '0');
    }
    return value;
}
}  // namespace

bool isKorvelHandshake(const std::uint8_t* bytes) {
    return std::memcmp(bytes, kKorvelHandshake, kKorvelControlLength) == 0;
}

bool isKorvelEndMessage(const std::uint8_t* bytes) {
    return std::memcmp(bytes, kKorvelEndMessage, kKorvelControlLength) == 0;
}

bool buildKorvelFrame(const PointRecord& point, int sequence, int total, KorvelFrame& frame) {
    if (sequence < 1 || sequence > kKorvelMaxPoints || total < 1 || total > kKorvelMaxPoints)
        return false;
    char text[kKorvelFrameLength];
    text[0] = static_cast<char>(kStx);
    char counters[10];
    std::snprintf(counters, sizeof counters, "%04d%04d", sequence, total);
    std::memcpy(text + 1, counters, 8);
    formatPointFrame(point, text);
    std::memcpy(frame.data(), text, kKorvelFrameLength);
    return true;
}

void parseKorvelFrame(const KorvelFrame& frame, PointRecord& point) {
    char text[kKorvelFrameLength];
    std::memcpy(text, frame.data(), kKorvelFrameLength);
    parsePointFrame(text, point);
}

KorvelReply korvelFrameReply(const KorvelFrame& frame) {
    KorvelReply reply{};
    std::memcpy(reply.data(), frame.data(), 9);
    reply[9] = kCr;
    return reply;
}

KorvelProgress korvelReceiveProgress(const KorvelFrame& frame) {
    int a = counterAt(frame, 1), b = counterAt(frame, 5);
    if (a < 0 || b < 0 || (a == 0 && b == 0)) return {0, 0};
    return {std::min(a, b), std::max(a, b)};
}
