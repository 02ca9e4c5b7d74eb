#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Instruments.h"

namespace {

const Bytes kSync{0xA0, 0x01, 0xA5};
const Bytes kWrongSync{0xA0, 0x01, 0xA6};
const Bytes kAck{0x06, 0x06, 0x06};
constexpr std::size_t kInFrame = 66;   // instrument to PC
constexpr std::size_t kOutFrame = 57;  // PC to instrument
constexpr double kMaxMagnitude = 9999999.999;

// Ten decimal digits of |v| in thousandths, two per byte, the low nibble
// holding the more significant digit.
void putPacked(double v, std::uint8_t* at) {
    long long units = std::llround(std::fabs(v) * 1000.0);
    int digits[10];
    for (int i = 9; i >= 0; --i) {
        digits[i] = static_cast<int>(units % 10);
        units /= 10;
    }
    for (int i = 0; i < 5; ++i) at[i] = static_cast<std::uint8_t>(digits[2 * i] | (digits[2 * i + 1] << 4));
}

Bytes dataFrame(const SimPoint& p) {
    Bytes f(kInFrame, 0);
    f[0] = 0x55;  // bytes 0 and 1 carry the instrument's own data; the PC ignores them
    f[1] = 0xAA;
    auto negative = [](double v) { return std::llround(v * 1000.0) < 0; };
    f[5] = static_cast<std::uint8_t>((negative(p.n) ? 0x08 : 0) | (negative(p.e) ? 0x10 : 0) |
                                     (negative(p.z) ? 0x20 : 0));
    std::memcpy(&f[25], p.name.data(), p.name.size() < 7 ? p.name.size() : 7);
    std::memcpy(&f[32], p.mark.data(), p.mark.size() < 4 ? p.mark.size() : 4);
    putPacked(p.n, &f[51]);
    putPacked(p.e, &f[56]);
    putPacked(p.z, &f[61]);
    return f;
}

Bytes endFrame() {
    Bytes f(kInFrame, 0);
    f[0] = 0x55;
    f[1] = 0xAA;
    return f;
}

std::string text(const Bytes& f, std::size_t at, std::size_t width) {
    std::size_t n = 0;
    while (n < width && f[at + n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(&f[at]), n);
}

bool number(const Bytes& f, std::size_t at, double& value) {
    const std::string t = text(f, at, 13);
    if (t.empty()) return false;
    char* end = nullptr;
    value = std::strtod(t.c_str(), &end);
    return end && *end == '\0';
}

// Checks a frame the PC sent and takes its point; empty on success.
std::string takeFrame(const Bytes& f, int& total, SimPoint& p) {
    if (f[0] != 0xA0 || f[1] != 0x37) return "frame without head A0 37";
    const std::string totalText(reinterpret_cast<const char*>(&f[2]), 4);
    char* end = nullptr;
    const long announced = std::strtol(totalText.c_str(), &end, 10);
    if (end != totalText.c_str() + 4 || announced < 1) return "bad total '" + totalText + "'";
    if (total && announced != total) return "total changed to " + totalText;
    total = static_cast<int>(announced);
    if (f[16] != 0 || f[56] != 0) return "bytes 16 and 56 must be zero";
    p.name = text(f, 6, 7);
    p.mark = text(f, 13, 4);
    if (!number(f, 17, p.n) || !number(f, 30, p.e) || !number(f, 43, p.z)) return "bad number field";
    return "";
}

}  // namespace

std::string tassinCannotCarry(const SimPoint& p) {
    for (double v : {p.n, p.e, p.z})
        if (!(std::fabs(v) <= kMaxMagnitude)) return "coordinate beyond 9999999.999";
    return "";
}

Outcome tassinToPc(Session& s) {
    const int total = static_cast<int>(s.toSend.size());
    LineStatus st = LineStatus::Ok;
    for (int i = 1; i <= total + 1; ++i) {
        if (faultDue(s, i - 1, Fault::Kind::SilentAfter)) return waitForHangUp(s);
        if (faultDue(s, i - 1, Fault::Kind::CloseAfter)) return Outcome::CloseLine;
        if (i > total) break;
        st = s.line.write(dataFrame(s.toSend[static_cast<std::size_t>(i - 1)]));
        if (st == LineStatus::Ok && faultDue(s, i, Fault::Kind::Garbage)) st = s.line.write(garbageBytes());
        if (st != LineStatus::Ok) return outcomeOf(st);
    }
    st = s.line.write(endFrame());
    if (st != LineStatus::Ok) return outcomeOf(st);
    std::size_t unexpected = 0;
    st = s.line.waitPeerClose(5000, unexpected);
    if (st != LineStatus::Ok && st != LineStatus::StillOpen) return outcomeOf(st);
    if (unexpected) {
        s.detail = "the PC wrote during a receive";
        return Outcome::PeerProtocol;
    }
    return Outcome::Completed;
}

Outcome tassinFromPc(Session& s) {
    const bool wrong = s.fault.kind == Fault::Kind::WrongHandshake;
    LineStatus st = s.line.write(wrong ? kWrongSync : kSync);
    if (st != LineStatus::Ok) return outcomeOf(st);
    if (wrong) return waitForHangUp(s);
    int total = 0;
    for (int seq = 1;; ++seq) {
        Bytes frame;
        st = s.line.read(frame, kOutFrame);
        if (st == LineStatus::PeerClosed && seq == 1) return Outcome::Completed;  // empty list
        if (st != LineStatus::Ok) return outcomeOf(st);
        SimPoint p;
        s.detail = takeFrame(frame, total, p);
        if (!s.detail.empty()) return Outcome::PeerProtocol;
        s.received.push_back(p);
        if (faultDue(s, seq, Fault::Kind::SilentAfter)) return waitForHangUp(s);
        if (faultDue(s, seq, Fault::Kind::CloseAfter)) return Outcome::CloseLine;
        st = s.line.write(kAck);
        if (st == LineStatus::Ok && faultDue(s, seq, Fault::Kind::Garbage)) st = s.line.write(garbageBytes());
        if (seq >= total) break;  // the PC need not wait for the last answer
        if (st != LineStatus::Ok) return outcomeOf(st);
    }
    std::size_t extra = 0;
    st = s.line.waitPeerClose(5000, extra);
    if (st != LineStatus::Ok && st != LineStatus::StillOpen) return outcomeOf(st);
    return Outcome::Completed;
}
