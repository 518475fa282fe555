// The text helper of CMathFunc, kept apart from the arithmetic so that the latter needs no
// string class.
#include <cstring>

#include "host/base/CMathFunc.h"
#include "platform/afx/CString.h"

int CMathFunc::SplitCStringByChar(const CString& text, CStringArray& lines, LPCTSTR sep) {
    lines.RemoveAll();
    const char* s = text;
    const size_t len = std::strlen(s);
    if (len == 0) return 0;
    const size_t seplen = sep ? std::strlen(sep) : 0;
    if (seplen == 0) {
        lines.Add(text);
        return 1;
    }
    size_t start = 0;
    for (;;) {
        const char* hit = std::strstr(s + start, sep);
        if (!hit) {
            lines.Add(CString(s + start, static_cast<int>(len - start)));
            break;
        }
        const size_t pos = static_cast<size_t>(hit - s);
        lines.Add(CString(s + start, static_cast<int>(pos - start)));
        start = pos + seplen;
    }
    return static_cast<int>(lines.GetSize());
}
