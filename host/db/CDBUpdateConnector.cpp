#include "host/db/CDBUpdateConnector.h"

#include <algorithm>
#include <vector>

namespace {
// Live listeners, oldest first. Used on the user-interface thread only.
std::vector<CDBUpdateConnector*>& Listeners() {
    static auto* s = new std::vector<CDBUpdateConnector*>;  // kept for listeners destroyed at exit
    return *s;
}
}  // namespace

CDBUpdateConnector::CDBUpdateConnector() { Listeners().push_back(this); }

CDBUpdateConnector::~CDBUpdateConnector() {
    auto& v = Listeners();
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void CDBUpdateConnector::OnDBUpdate(void*, int, void*) {}

int CDBUpdateConnector::BroadcastUpdate(void* pSender, int nHint, void* pData) {
    // A copy, so that listeners may come and go while they are told; each is told only while
    // it is still alive.
    const std::vector<CDBUpdateConnector*> snapshot = Listeners();
    int n = 0;
    for (CDBUpdateConnector* p : snapshot) {
        const auto& live = Listeners();
        if (std::find(live.begin(), live.end(), p) == live.end()) continue;
        p->OnDBUpdate(pSender, nHint, pData);
        ++n;
    }
    return n;
}

int CDBUpdateConnector::GetListenerCount() { return static_cast<int>(Listeners().size()); }
