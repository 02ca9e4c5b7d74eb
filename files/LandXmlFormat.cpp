#include "files/PointFormats.h"

std::unique_ptr<PointWriter> openLandXml(TextSink&, const WriteSettings&) { return nullptr; }
