// Helpers of the DXF export, shared with its tests.
#pragma once

#include <set>
#include <string>

#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

namespace vd {

// The AutoCAD colour index nearest to c (least squared RGB distance, lowest index on ties, so
// white is 7).
int NearestAci(COLORREF c);
// UTF-8 text as release 12 DXF holds it: ASCII as it is (control characters as blanks), every
// other character as \U+XXXX (beyond U+FFFF: U+FFFD).
std::string DxfText(const std::string& utf8);
// True when utf8 holds a Chinese character (CJK radicals, punctuation or ideographs).
bool HasChinese(const std::string& utf8);
// A symbol table name for caption: the caption itself when it is plain (letters, digits, "_",
// "-", "$", at most 31) and not used yet (case-insensitive), else prefix + id. Adds it to used.
std::string DxfTableName(const CString& caption, const char* prefix, int id, std::set<std::string>& used);

}  // namespace vd
