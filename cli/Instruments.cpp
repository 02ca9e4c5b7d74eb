#include "cli/Instruments.h"

#include <cctype>

#include "link/KorvelWorkers.h"
#include "link/TassinWorkers.h"

namespace {

const Instrument kInstruments[] = {
    {"korvel", "Korvel", &kKorvelProtocol},
    {"tassin", "Tassin", &kTassinProtocol},
};

}  // namespace

std::size_t instrumentCount() { return sizeof kInstruments / sizeof kInstruments[0]; }

const Instrument& instrumentAt(std::size_t index) { return kInstruments[index]; }

const Instrument* findInstrument(std::string_view name) {
    for (const Instrument& instrument : kInstruments) {
        std::string_view own = instrument.name;
        if (own.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < own.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(name[i])) == own[i];
        if (same) return &instrument;
    }
    return nullptr;
}
