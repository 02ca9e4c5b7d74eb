#include "link/SendCheck.h"

#include <cmath>

#include "link/KorvelLink.h"
#include "link/TassinLink.h"
#include "points/PointText.h"

namespace {

bool tassinCanCarry(double value) {
    return std::isfinite(value) && tassinNumberTextLength(value) <= kTassinNumberField;
}

bool canTravel(Model model, const PointRecord& point) {
    if (model == Model::Korvel) return pointTextCanHold(point);
    return tassinCanCarry(point.n) && tassinCanCarry(point.e) && tassinCanCarry(point.z);
}

}  // namespace

SendRefusal checkSend(Model model, const std::vector<const PointRecord*>& records) {
    SendRefusal refusal;
    if (model == Model::Korvel && records.size() > static_cast<std::size_t>(kKorvelMaxPoints)) {
        refusal.reason = SendRefusal::Reason::TooManyPoints;
        refusal.limit = kKorvelMaxPoints;
        return refusal;
    }
    for (std::size_t row = 0; row < records.size(); ++row) {
        if (records[row] && !canTravel(model, *records[row])) {
            refusal.reason = SendRefusal::Reason::PointDoesNotFit;
            refusal.row = static_cast<int>(row);
            return refusal;
        }
    }
    return refusal;
}
