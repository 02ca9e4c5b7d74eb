#include "Instruments.h"

namespace {

const SimInstrument kInstruments[] = {
    {"korvel", korvelToPc, korvelFromPc, korvelCannotCarry, true},
    {"tassin", tassinToPc, tassinFromPc, tassinCannotCarry, false},
};

}  // namespace

const SimInstrument* findInstrument(const std::string& name) {
    for (const SimInstrument& instrument : kInstruments)
        if (name == instrument.name) return &instrument;
    return nullptr;
}
