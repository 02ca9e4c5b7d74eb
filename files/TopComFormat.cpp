// TopCom lines: name,E,N,Z,mark. The name is everything before the first
// ',' (white space included); the rest is "%lf,%lf,%lf,%s".
#include "files/ExchangeFormat.h"
#include "files/LineBuild.h"
#include "files/LineScan.h"

void readTopComLine(const char* line, PointRecord& point) {
    LineScan scan(line);
    point.setName(scan.takeUntil(','));
    if (!scan.accept(',')) return;
    if (!scan.scanNumbers({&point.e, &point.n, &point.z}) || !scan.accept(',')) return;
    std::string_view mark = scan.takeString();
    if (!mark.empty()) point.setMark(mark);
}

const char* writeTopComLine(const PointRecord& point, char* buffer) {
    return LineBuild(buffer)
        .text(point.name, PointRecord::kNameMax).comma()
        .number(point.e).comma()
        .number(point.n).comma()
        .number(point.z).comma()
        .text(point.mark, PointRecord::kMarkMax)
        .finish();
}
