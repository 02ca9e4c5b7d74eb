// SV300 lines: row,name,mark,N,E,Z. The row number is skipped unread; name
// and mark are everything up to their ',' (white space included); the rest
// is "%lf,%lf,%lf". A name or mark that runs to the end of the line is
// taken as far as it goes.
#include "files/ExchangeFormat.h"
#include "files/LineBuild.h"
#include "files/LineScan.h"

void readSV300Line(const char* line, PointRecord& point) {
    LineScan scan(line);
    if (!scan.skipPast(',')) return;
    point.setName(scan.takeUntil(','));
    if (!scan.accept(',')) return;
    point.setMark(scan.takeUntil(','));
    if (!scan.accept(',')) return;
    scan.scanNumbers({&point.n, &point.e, &point.z});
}

// Without the row number: Export puts it and its ',' in front.
const char* writeSV300Line(const PointRecord& point, char* buffer) {
    return LineBuild(buffer)
        .text(point.name, PointRecord::kNameMax).comma()
        .text(point.mark, PointRecord::kMarkMax).comma()
        .number(point.n).comma()
        .number(point.e).comma()
        .number(point.z)
        .finish();
}
