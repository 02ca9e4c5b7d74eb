#include "points/PointRecord.h"

#include <cmath>
#include <cstring>

namespace {
void storeCut(char* field, int max, std::string_view text) {
    std::size_t len = text.size() < static_cast<std::size_t>(max) ? text.size() : static_cast<std::size_t>(max);
    if (len) std::memcpy(field, text.data(), len);
    field[len] = '\0';
}
}  // namespace

PointRecord::PointRecord() : name{}, mark{}, n(0.0), e(0.0), z(0.0) {}

PointRecord::~PointRecord() = default;

void PointRecord::setName(std::string_view text) { storeCut(name, kNameMax, text); }

void PointRecord::setMark(std::string_view text) { storeCut(mark, kMarkMax, text); }

bool hasFiniteCoordinates(const PointRecord& point) {
    return std::isfinite(point.n) && std::isfinite(point.e) && std::isfinite(point.z);
}
