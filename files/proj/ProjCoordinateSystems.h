// CoordinateSystems over PROJ (its C API) and PROJ's database, proj.db.
//
// Each opened system converts to WGS 84 (EPSG:4326) with the operation that
// PROJ itself chooses from the database for the pair, as every PROJ-based
// tool does, with longitude first and easting first. PROJ never fetches
// grids from the network here: a conversion uses what is on the disk.
//
// dataFolder is where proj.db is: the programs' own folder on Windows,
// where it ships beside them. Empty, PROJ looks where it always does
// (PROJ_DATA, then the folder its installation put it in:
// /usr/share/proj for Debian's).
#pragma once

#include <memory>
#include <string>

#include "files/CoordinateSystem.h"

std::unique_ptr<CoordinateSystems> openProjCoordinateSystems(const std::string& dataFolder);
