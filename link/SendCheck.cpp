#include "link/SendCheck.h"

#include "points/PointStore.h"

SendRefusal checkSend(const SendLimits& limits, const PointStore& points) {
    SendRefusal refusal;
    if (limits.maxPoints > 0 && points.size() > static_cast<std::size_t>(limits.maxPoints)) {
        refusal.reason = SendRefusal::Reason::TooManyPoints;
        refusal.limit = limits.maxPoints;
        return refusal;
    }
    int row = 0;
    for (const PointRecord& point : points) {
        if (!limits.canCarry(point)) {
            refusal.reason = SendRefusal::Reason::PointDoesNotFit;
            refusal.row = row;
            return refusal;
        }
        ++row;
    }
    return refusal;
}
