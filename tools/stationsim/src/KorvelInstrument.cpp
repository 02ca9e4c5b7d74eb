#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Instruments.h"

namespace {

const Bytes kHandshake{0x01, 0x53, 0x0D};
const Bytes kEndMessage{0x01, 0x45, 0x0D};
const Bytes kAck{0x06, 0x06, 0x06};
constexpr std::size_t kFrame = 60;
constexpr double kMaxMagnitude = 9999999.999;

// The instrument's own point text: name and mark in 7 columns each, then N,
// E, Z as a sign character ('0' or '-') and 11 columns with leading zeros.
std::string pointText(const SimPoint& p) {
    char text[64];
    auto sign = [](double v) { return std::round(v * 1000) < 0 ? '-' : '0'; };
    std::snprintf(text, sizeof text, "%-7.7s%-7.7s%c%011.3f%c%011.3f%c%011.3f", p.name.c_str(),
                  p.mark.c_str(), sign(p.n), std::fabs(p.n), sign(p.e), std::fabs(p.e), sign(p.z),
                  std::fabs(p.z));
    return text;
}

Bytes frameOf(const SimPoint& p, int seq, int total) {
    char head[32];
    std::snprintf(head, sizeof head, "\x02%04d%04d", seq, total);
    const std::string text = std::string(head) + pointText(p) + "\r";
    return Bytes(text.begin(), text.end());
}

std::string word(const std::uint8_t* field) {
    std::string w(reinterpret_cast<const char*>(field), 7);
    const std::size_t first = w.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return w.substr(first, w.find_last_not_of(' ') - first + 1);
}

bool number(const std::uint8_t* field, double& value) {
    const std::string text(reinterpret_cast<const char*>(field), 12);
    if ((text[0] != '0' && text[0] != '-') || text.find_first_not_of("0123456789.", 1) != std::string::npos)
        return false;
    value = std::strtod(text.c_str(), nullptr);
    return true;
}

int counter(const std::uint8_t* field) {
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        if (field[i] < '0' || field[i] > '9') return -1;
        value = value * 10 + (field[i] - '0');
    }
    return value;
}

// Checks a frame the PC sent and takes its point; empty on success.
std::string takeFrame(const Bytes& f, int expectedSeq, int& total, SimPoint& p) {
    if (f[0] != 0x02 || f[59] != 0x0D) return "frame without STX or CR";
    const int seq = counter(&f[1]), count = counter(&f[5]);
    if (seq != expectedSeq) return "frame counter " + std::to_string(seq) + ", expected " + std::to_string(expectedSeq);
    if (count < 1 || (total && count != total) || seq > count) return "bad total " + std::to_string(count);
    total = count;
    for (std::size_t i = 9; i < 59; ++i)
        if (f[i] < 0x20 || f[i] > 0x7E) return "unprintable byte in the point text";
    p.name = word(&f[9]);
    p.mark = word(&f[16]);
    if (!number(&f[23], p.n) || !number(&f[35], p.e) || !number(&f[47], p.z)) return "bad number field";
    return "";
}

// Both directions open alike: the handshake, echoed by the PC (or, as the
// wrong-handshake fault, the end message). False with the outcome when the
// exchange ends there.
bool openExchange(Session& s, Outcome& outcome) {
    if (s.fault.kind == Fault::Kind::WrongHandshake) {
        LineStatus st = s.line.write(kEndMessage);
        outcome = st == LineStatus::Ok ? waitForHangUp(s) : outcomeOf(st);
        return false;
    }
    Bytes echo;
    LineStatus st = s.line.write(kHandshake);
    if (st == LineStatus::Ok) st = s.line.read(echo, 3);
    if (st != LineStatus::Ok) {
        outcome = outcomeOf(st);
        return false;
    }
    if (echo != kHandshake) {
        s.detail = "the PC did not echo the handshake";
        outcome = Outcome::PeerProtocol;
        return false;
    }
    return true;
}

}  // namespace

std::string korvelCannotCarry(const SimPoint& p) {
    for (double v : {p.n, p.e, p.z})
        if (!(std::fabs(v) <= kMaxMagnitude)) return "coordinate beyond 9999999.999";
    if (p.name.find(' ') != std::string::npos || p.mark.find(' ') != std::string::npos)
        return "space in name or mark";
    return "";
}

Outcome korvelToPc(Session& s) {
    Outcome outcome;
    if (!openExchange(s, outcome)) return outcome;
    LineStatus st = LineStatus::Ok;
    const int total = static_cast<int>(s.toSend.size());
    for (int i = 1; i <= total + 1; ++i) {
        if (faultDue(s, i - 1, Fault::Kind::SilentAfter)) return waitForHangUp(s);
        if (faultDue(s, i - 1, Fault::Kind::CloseAfter)) return Outcome::CloseLine;
        if (i > total) break;
        const Bytes frame = frameOf(s.toSend[static_cast<std::size_t>(i - 1)], i, total);
        st = s.line.write(frame);
        if (st == LineStatus::Ok && faultDue(s, i, Fault::Kind::Garbage)) st = s.line.write(garbageBytes());
        Bytes reply;
        if (st == LineStatus::Ok) st = s.line.read(reply, 10);
        if (st != LineStatus::Ok) return outcomeOf(st);
        s.replyMs.push_back(std::chrono::duration<double, std::milli>(s.line.lastReadStart() - s.line.lastWriteEnd()).count());
        const Bytes expected = [&] {
            Bytes r(frame.begin(), frame.begin() + 9);
            r.push_back(0x0D);
            return r;
        }();
        if (reply != expected) {
            s.detail = "reply to frame " + std::to_string(i) + " does not repeat its head";
            if (s.fault.kind != Fault::Kind::Garbage) return Outcome::PeerProtocol;
        }
    }
    st = s.line.write(kEndMessage);
    if (st != LineStatus::Ok) return outcomeOf(st);
    std::size_t extra = 0;
    st = s.line.waitPeerClose(5000, extra);
    if (st != LineStatus::Ok && st != LineStatus::StillOpen) return outcomeOf(st);
    return s.detail.empty() ? Outcome::Completed : Outcome::PeerProtocol;
}

Outcome korvelFromPc(Session& s) {
    Outcome outcome;
    if (!openExchange(s, outcome)) return outcome;
    LineStatus st = LineStatus::Ok;
    int total = 0;
    for (int seq = 1;; ++seq) {
        Bytes frame;
        st = s.line.read(frame, kFrame);
        // A PC with an empty list closes the port right after the echo.
        if (st == LineStatus::PeerClosed && seq == 1) return Outcome::Completed;
        if (st != LineStatus::Ok) return outcomeOf(st);
        SimPoint p;
        s.detail = takeFrame(frame, seq, total, p);
        if (!s.detail.empty()) return Outcome::PeerProtocol;
        s.received.push_back(p);
        if (faultDue(s, seq, Fault::Kind::SilentAfter)) return waitForHangUp(s);
        if (faultDue(s, seq, Fault::Kind::CloseAfter)) return Outcome::CloseLine;
        st = s.line.write(kAck);
        if (st == LineStatus::Ok && faultDue(s, seq, Fault::Kind::Garbage)) st = s.line.write(garbageBytes());
        // After the last frame the PC may already have closed the port.
        if (seq == total) break;
        if (st != LineStatus::Ok) return outcomeOf(st);
    }
    std::size_t extra = 0;
    st = s.line.waitPeerClose(5000, extra);
    if (st != LineStatus::Ok && st != LineStatus::StillOpen) return outcomeOf(st);
    return Outcome::Completed;
}
