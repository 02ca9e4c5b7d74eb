// GuangZhou Kass lines: row,name,N,E,Z,mark. The row number is skipped
// unread; the name is a run up to white space or ','; unless a ',' follows
// it the reader stops with the name alone. The rest is "%lf,%lf,%lf,%s".
#include "files/ExchangeFormat.h"
#include "files/LineBuild.h"
#include "files/LineScan.h"

void readGuangZhouKassLine(const char* line, PointRecord& point) {
    LineScan scan(line);
    if (!scan.skipPast(',')) return;
    scan.skipWhiteSpace();
    point.setName(scan.takeWord());
    scan.skipWhiteSpace();
    if (!scan.accept(',')) return;
    if (!scan.scanNumbers({&point.n, &point.e, &point.z}) || !scan.accept(',')) return;
    std::string_view mark = scan.takeString();
    if (!mark.empty()) point.setMark(mark);
}

// Without the row number: Export puts it and its ',' in front.
const char* writeGuangZhouKassLine(const PointRecord& point, char* buffer) {
    return LineBuild(buffer)
        .text(point.name, PointRecord::kNameMax).comma()
        .number(point.n).comma()
        .number(point.e).comma()
        .number(point.z).comma()
        .text(point.mark, PointRecord::kMarkMax)
        .finish();
}
