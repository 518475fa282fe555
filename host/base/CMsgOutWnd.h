// The host's message window: the list of progress, warning and error lines that modules write.
//
// Modules call the free functions GMsgOutNF(text) (append without raising the window) and
// GMsgOut(text) (append and raise it; headless, raising is only counted), and GMsgOutClear() to
// empty it. CMsgOutWnd holds the lines for the host program, which prints them, and for tests,
// which read them. A message holding line breaks becomes one line per part. The window keeps the
// newest kMaxLines lines and counts what it dropped. An echo stream, when set, receives every line
// as it arrives. Thread-safe.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/afx/afxtypes.h"

void GMsgOutNF(LPCTSTR text, int nType = 0, int nFlag = 0);
void GMsgOut(LPCTSTR text, int nType = 0, int nFlag = 0);
void GMsgOutClear();

class CMsgOutWnd {
public:
    static constexpr size_t kMaxLines = 100000;

    static void AddMessage(LPCTSTR text, BOOL bRaise);
    static void Clear();

    static std::vector<std::string> GetLines();
    static int GetLineCount();
    static size_t GetDroppedCount();  // lines pushed out by the kMaxLines limit since the last Clear
    static int GetRaiseCount();       // messages that asked to raise the window since the last Clear

    // Every line is also written to stream (followed by a newline) when it is not null.
    static void SetEchoStream(FILE* stream);
    // Every line is also handed to handler when it is not null (instead of the stream), e.g. to
    // show it with the program's own prefix. The handler must not add messages.
    static void SetEchoHandler(void (*handler)(const char* line));
};
