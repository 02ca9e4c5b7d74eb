// The Windows code page that an encoding's name stands for, as both
// platforms' TextEncoding read it: the number a drawing declares (posix)
// and the code page the system converts with (win32).
#pragma once

#include <string_view>

// The code page of name, in any case, with or without its '-' and '_':
// "cpNNN", "windows-NNN", "ibmNNN" and "NNN" are NNN; gbk, gb2312 and
// euc-cn 936; gb18030 54936; big5 950; shift_jis and sjis 932; euc-kr and
// uhc 949; utf-8 65001; latin1 and iso-8859-N 28590 + N; koi8-r 20866. 0
// for any other name, and for a number that is no code page (0, or above
// 65535).
unsigned codePageOfName(std::string_view name);
