#include "link/SendCheck.h"

#include <cmath>

#include "link/KorvelLink.h"
#include "link/TassinLink.h"
#include "points/PointStore.h"
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

SendRefusal checkSend(Model model, const PointStore& points) {
    SendRefusal refusal;
    if (model == Model::Korvel && points.size() > static_cast<std::size_t>(kKorvelMaxPoints)) {
        refusal.reason = SendRefusal::Reason::TooManyPoints;
        refusal.limit = kKorvelMaxPoints;
        return refusal;
    }
    int row = 0;
    for (const PointRecord& point : points) {
        if (!canTravel(model, point)) {
            refusal.reason = SendRefusal::Reason::PointDoesNotFit;
            refusal.row = row;
            return refusal;
        }
        ++row;
    }
    return refusal;
}
