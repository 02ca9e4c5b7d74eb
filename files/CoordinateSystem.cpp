#include "files/CoordinateSystem.h"

bool GeoArea::contains(const GeoPosition& position) const {
    if (!(position.latitude >= south && position.latitude <= north)) return false;
    if (west <= east) return position.longitude >= west && position.longitude <= east;
    return position.longitude >= west || position.longitude <= east;  // across the 180th meridian
}
