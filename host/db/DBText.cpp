#include "host/db/DBText.h"

#include <cstdio>
#include <cstring>

namespace pvxdb {

namespace {

// Length of the valid UTF-8 sequence starting at p (at most n bytes available), 0 if invalid.
size_t Utf8Length(const unsigned char* p, size_t n, unsigned& code) {
    unsigned char c = p[0];
    size_t len;
    unsigned min;
    if (c < 0x80) {
        code = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2, code = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, code = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, code = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (len > n) return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return 0;
    return len;
}

}  // namespace

size_t FirstNonUtf8(const char* s, size_t n) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
    for (size_t i = 0; i < n;) {
        unsigned code = 0;
        const size_t len = Utf8Length(p + i, n - i, code);
        if (len == 0) return i;
        i += len;
    }
    return n;
}

std::string EscapeText(const char* s, size_t maxBytes) {
    std::string out;
    if (!s) return out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
    size_t n = strlen(s);
    bool cut = n > maxBytes;
    char buf[8];
    for (size_t i = 0; i < n;) {
        unsigned code = 0;
        size_t len = Utf8Length(p + i, n - i, code);
        if (cut && i + (len ? len : 1) > maxBytes) break;
        if (len == 0) {
            snprintf(buf, sizeof buf, "\\x%02x", p[i]);
            out += buf;
            ++i;
            continue;
        }
        if (code == '\n') {
            out += "\\n";
        } else if (code == '\r') {
            out += "\\r";
        } else if (code == '\t') {
            out += "\\t";
        } else if (code < 0x20 || code == 0x7F) {
            snprintf(buf, sizeof buf, "\\x%02x", code);
            out += buf;
        } else if (code >= 0x80 && code < 0xA0) {
            snprintf(buf, sizeof buf, "\\u%04x", code);
            out += buf;
        } else {
            out.append(s + i, len);
        }
        i += len;
    }
    if (cut) out += "...";
    return out;
}

}  // namespace pvxdb
