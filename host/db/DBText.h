// Text from a project file as it may be shown: names are the user's (or an attacker's) bytes,
// and a terminal acts on control characters, so they are printed escaped.
#pragma once

#include <cstddef>
#include <string>

namespace pvxdb {

// s with every control character (C0, DEL, C1) written as \n, \r, \t or \xHH / \u00HH and every
// byte that is not part of valid UTF-8 as \xHH; other characters stay as they are. With
// maxBytes, the input is cut after that many bytes (at a whole character) and "..." appended.
// A null s gives "".
std::string EscapeText(const char* s, size_t maxBytes = static_cast<size_t>(-1));

// The offset of the first byte of the n bytes at s that is not part of valid UTF-8; n when all are.
size_t FirstNonUtf8(const char* s, size_t n);

}  // namespace pvxdb
