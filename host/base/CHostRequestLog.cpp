#include "host/base/CHostRequestLog.h"

#include <deque>
#include <mutex>

namespace {
struct Log {
    std::mutex lock;
    std::deque<CHostRequest> entries;
};
Log& TheLog() {
    static Log* l = new Log;  // never destroyed: modules may report during process exit
    return *l;
}
}  // namespace

void CHostRequestLog::Add(int nKind, int nId, int nArg, const std::string& text) {
    Log& l = TheLog();
    std::lock_guard<std::mutex> g(l.lock);
    l.entries.push_back(CHostRequest{nKind, nId, nArg, text});
    if (l.entries.size() > kMaxEntries) l.entries.pop_front();
}

std::vector<CHostRequest> CHostRequestLog::GetAll() {
    Log& l = TheLog();
    std::lock_guard<std::mutex> g(l.lock);
    return std::vector<CHostRequest>(l.entries.begin(), l.entries.end());
}

std::vector<CHostRequest> CHostRequestLog::GetOfKind(int nKind) {
    Log& l = TheLog();
    std::lock_guard<std::mutex> g(l.lock);
    std::vector<CHostRequest> out;
    for (const CHostRequest& r : l.entries)
        if (r.nKind == nKind) out.push_back(r);
    return out;
}

int CHostRequestLog::CountOfKind(int nKind) {
    Log& l = TheLog();
    std::lock_guard<std::mutex> g(l.lock);
    int n = 0;
    for (const CHostRequest& r : l.entries)
        if (r.nKind == nKind) ++n;
    return n;
}

void CHostRequestLog::Clear() {
    Log& l = TheLog();
    std::lock_guard<std::mutex> g(l.lock);
    l.entries.clear();
}

const char* CHostRequestLog::KindName(int nKind) {
    switch (nKind) {
    case HR_COMMAND: return "command";
    case HR_CREATE_FIGURE_DLG: return "create-figure-dialog";
    case HR_CLOSE_FIGURE_DLG: return "close-figure-dialog";
    case HR_SET_FIGURE_TREE: return "set-figure-tree";
    case HR_ADD_FIGURE_TREE_ITEM: return "figure-tree-item";
    case HR_CLOSE_FIGURE_TREE: return "close-figure-tree";
    case HR_CLOSE_DESIGN_TREE: return "close-design-tree";
    case HR_SHOW_DLGBAR: return "show-bar";
    case HR_CLOSE_DLGBAR: return "close-bar";
    case HR_MODEL_REQUEST: return "model-request";
    default: return "unknown";
    }
}
