#include "host/base/CMsgOutWnd.h"

#include <deque>
#include <mutex>

namespace {
struct Window {
    std::mutex lock;
    std::deque<std::string> lines;
    size_t dropped = 0;
    int raised = 0;
    FILE* echo = nullptr;
    void (*echoHandler)(const char*) = nullptr;
};
Window& TheWindow() {
    static Window* w = new Window;  // never destroyed: modules may write during process exit
    return *w;
}
}  // namespace

void GMsgOutNF(LPCTSTR text, int, int) { CMsgOutWnd::AddMessage(text, FALSE); }
void GMsgOut(LPCTSTR text, int, int) { CMsgOutWnd::AddMessage(text, TRUE); }
void GMsgOutClear() { CMsgOutWnd::Clear(); }

void CMsgOutWnd::AddMessage(LPCTSTR text, BOOL bRaise) {
    std::string s = text ? text : "";
    Window& w = TheWindow();
    std::lock_guard<std::mutex> g(w.lock);
    if (bRaise) ++w.raised;
    size_t start = 0;
    for (;;) {
        size_t nl = s.find('\n', start);
        std::string line = s.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (w.echoHandler) {
            w.echoHandler(line.c_str());
        } else if (w.echo) {
            std::fputs(line.c_str(), w.echo);
            std::fputc('\n', w.echo);
        }
        w.lines.push_back(std::move(line));
        if (w.lines.size() > kMaxLines) {
            w.lines.pop_front();
            ++w.dropped;
        }
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
}

void CMsgOutWnd::Clear() {
    Window& w = TheWindow();
    std::lock_guard<std::mutex> g(w.lock);
    w.lines.clear();
    w.dropped = 0;
    w.raised = 0;
}

std::vector<std::string> CMsgOutWnd::GetLines() {
    Window& w = TheWindow();
    std::lock_guard<std::mutex> g(w.lock);
    return std::vector<std::string>(w.lines.begin(), w.lines.end());
}

int CMsgOutWnd::GetLineCount() {
    Window& w = TheWindow();
    std::lock_guard<std::mutex> g(w.lock);
    return static_cast<int>(w.lines.size());
}

size_t CMsgOutWnd::GetDroppedCount() {
    Window& w = TheWindow();
    std::lock_guard<std::mutex> g(w.lock);
    return w.dropped;
}

int CMsgOutWnd::GetRaiseCount() {
    Window& w = TheWindow();
    std::lock_guard<std::mutex> g(w.lock);
    return w.raised;
}

void CMsgOutWnd::SetEchoStream(FILE* stream) {
    Window& w = TheWindow();
    std::lock_guard<std::mutex> g(w.lock);
    w.echo = stream;
}

void CMsgOutWnd::SetEchoHandler(void (*handler)(const char* line)) {
    Window& w = TheWindow();
    std::lock_guard<std::mutex> g(w.lock);
    w.echoHandler = handler;
}
