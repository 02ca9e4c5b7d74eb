#include "link/TassinWorkers.h"

#include <algorithm>

#include "link/TassinLink.h"
#include "link/TransferSteps.h"

namespace {

static_assert(kTassinInFrameLength <= kMaxFrameLength && kTassinOutFrameLength <= kMaxFrameLength);

bool isEnd(const std::uint8_t* frame) { return isTassinEndFrame(frameFrom<TassinInFrame>(frame)); }

void decode(const std::uint8_t* bytes, PointRecord& point) { decodeTassinFrame(frameFrom<TassinInFrame>(bytes), point); }

TransferTitle receivedTitle(const std::uint8_t*, int received) {
    TransferTitle title;
    title.step = TransferTitle::Step::Received;
    title.count = received;
    return title;
}

// The frames do not carry the total.
ProgressFigures receivedProgress(const std::uint8_t*, int received) { return {received, 0}; }

std::size_t build(const PointRecord& point, int, int total, std::uint8_t* bytes) {
    TassinOutFrame frame{};
    encodeTassinRecord(point, total, frame);
    const std::size_t length = static_cast<std::size_t>(frame[1]) + 2;
    std::copy(frame.begin(), frame.begin() + length, bytes);
    return length;
}

constexpr Opening kNoOpening = {0, nullptr, false};
constexpr Opening kSync = {kTassinSyncLength, isTassinSync, false};

// Only a whole frame tells the end frame.
constexpr ReceiveSteps kReceive = {kNoOpening,    kTassinInFrameLength, kTassinInFrameLength, isEnd, decode,
                               receivedTitle, receivedProgress,     nullptr};

constexpr SendSteps kSend = {kSync, build, kTassinAckLength};

}  // namespace

void runTassinReceive(BytePort& port, WorkerHost& host) { runReceive(kReceive, port, host); }

void runTassinSend(BytePort& port, WorkerHost& host) { runSend(kSend, port, host); }

const LinkProtocol kTassinProtocol = {runTassinReceive, runTassinSend, {0, tassinCanCarry}, trimTassinName};
