#include "host/base/CMsgDll.h"

#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {
struct Table {
    const CMsgDll::StringEntry* entries;
    std::unordered_map<std::string_view, const char*> index;  // views into the caller's strings
};
struct MessageTables {
    std::mutex lock;
    std::vector<std::unique_ptr<Table>> tables;  // in order of registration
};
MessageTables& TheMessageTables() {
    static MessageTables* r = new MessageTables;  // never destroyed: modules may unregister during exit
    return *r;
}
}  // namespace

const CMsgDll::CLoadStrFunc CMsgDll::pfuncLoadStr{};

CString CMsgDll::CLoadStrFunc::operator()(LPCTSTR key, int) const {
    if (!key) return CString();
    CString text;
    if (LookupString(key, text)) return text;
    // Built from the bytes so that no key is ever taken for a string-table id.
    return CString(key, static_cast<int>(std::char_traits<char>::length(key)));
}

BOOL CMsgDll::RegisterStringTable(const StringEntry* entries, int n) {
    if (n < 0 || (!entries && n > 0)) return FALSE;
    auto t = std::make_unique<Table>();
    t->entries = entries;
    t->index.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (!entries[i].first || !entries[i].second) continue;
        t->index.emplace(std::string_view(entries[i].first), entries[i].second);
    }
    MessageTables& r = TheMessageTables();
    std::lock_guard<std::mutex> g(r.lock);
    for (const auto& old : r.tables)
        if (entries && old->entries == entries) return FALSE;
    r.tables.push_back(std::move(t));
    return TRUE;
}

BOOL CMsgDll::UnregisterStringTable(const StringEntry* entries) {
    MessageTables& r = TheMessageTables();
    std::lock_guard<std::mutex> g(r.lock);
    for (auto it = r.tables.begin(); it != r.tables.end(); ++it) {
        if ((*it)->entries == entries) {
            r.tables.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMsgDll::LookupString(LPCTSTR key, CString& text) {
    if (!key) return FALSE;
    const std::string_view k(key);
    MessageTables& r = TheMessageTables();
    std::lock_guard<std::mutex> g(r.lock);
    for (auto it = r.tables.rbegin(); it != r.tables.rend(); ++it) {
        auto hit = (*it)->index.find(k);
        if (hit != (*it)->index.end()) {
            const char* s = hit->second;
            text = CString(s, static_cast<int>(std::char_traits<char>::length(s)));
            return TRUE;
        }
    }
    return FALSE;
}

int CMsgDll::GetTableCount() {
    MessageTables& r = TheMessageTables();
    std::lock_guard<std::mutex> g(r.lock);
    return static_cast<int>(r.tables.size());
}
