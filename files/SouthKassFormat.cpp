// South Kass lines: name,mark,E,N,Z. Name and mark are runs up to white
// space or ','; unless a ',' follows each, the reader stops there. The rest
// is "%lf,%lf,%lf".
#include "files/ExchangeFormat.h"
#include "files/LineBuild.h"
#include "files/LineScan.h"

void readSouthKassLine(const char* line, PointRecord& point) {
    LineScan scan(line);
    scan.skipWhiteSpace();
    point.setName(scan.takeWord());
    scan.skipWhiteSpace();
    if (!scan.accept(',')) return;
    scan.skipWhiteSpace();
    point.setMark(scan.takeWord());
    scan.skipWhiteSpace();
    if (!scan.accept(',')) return;
    scan.scanNumbers({&point.e, &point.n, &point.z});
}

const char* writeSouthKassLine(const PointRecord& point, char* buffer) {
    return LineBuild(buffer)
        .text(point.name, PointRecord::kNameMax).comma()
        .text(point.mark, PointRecord::kMarkMax).comma()
        .number(point.e).comma()
        .number(point.n).comma()
        .number(point.z)
        .finish();
}
