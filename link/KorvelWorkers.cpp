#include "link/KorvelWorkers.h"

#include <algorithm>

#include "link/KorvelLink.h"
#include "link/TransferSteps.h"
#include "points/PointText.h"

namespace {

static_assert(kKorvelFrameLength <= kMaxFrameLength && kKorvelReplyLength <= kMaxFrameLength);

void decode(const std::uint8_t* bytes, PointRecord& point) { parseKorvelFrame(frameFrom<KorvelFrame>(bytes), point); }

// The title shows the frame's two counters as they came.
TransferTitle receivedTitle(const std::uint8_t* frame, int received) {
    TransferTitle title;
    title.step = TransferTitle::Step::Received;
    title.count = received;
    title.counters.assign(frame + 1, frame + 9);
    return title;
}

ProgressFigures receivedProgress(const std::uint8_t* frame, int) {
    const KorvelProgress progress = korvelReceiveProgress(frameFrom<KorvelFrame>(frame));
    return {progress.done, progress.total};
}

std::size_t reply(const std::uint8_t* frame, std::uint8_t* answer) {
    const KorvelReply bytes = korvelFrameReply(frameFrom<KorvelFrame>(frame));
    std::copy(bytes.begin(), bytes.end(), answer);
    return bytes.size();
}

std::size_t build(const PointRecord& point, int number, int total, std::uint8_t* bytes) {
    KorvelFrame frame{};
    if (!buildKorvelFrame(point, number, total, frame)) return 0;
    std::copy(frame.begin(), frame.end(), bytes);
    return frame.size();
}

constexpr Opening kHandshake = {kKorvelControlLength, isKorvelHandshake, true};

// The end message is told by the first 3 bytes of what comes.
constexpr ReceiveSteps kReceive = {kHandshake, kKorvelFrameLength, kKorvelControlLength, isKorvelEndMessage,
                               decode, receivedTitle, receivedProgress, reply};

constexpr SendSteps kSend = {kHandshake, build, kKorvelAckLength};

}  // namespace

void runKorvelReceive(BytePort& port, WorkerHost& host) { runReceive(kReceive, port, host); }

void runKorvelSend(BytePort& port, WorkerHost& host) { runSend(kSend, port, host); }

const LinkProtocol kKorvelProtocol = {runKorvelReceive, runKorvelSend, {kKorvelMaxPoints, pointTextCanHold}, nullptr};
