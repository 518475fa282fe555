#include "host/base/CLoadingStatus.h"

#include <algorithm>
#include <mutex>

namespace {
struct StatusRegistry {
    std::mutex lock;
    std::vector<const CLoadingStatus*> objects;
};
// Never destroyed: status objects of modules unloaded during process exit may outlive any
// ordinary static of this library.
StatusRegistry& TheStatusRegistry() {
    static StatusRegistry* r = new StatusRegistry;
    return *r;
}
}  // namespace

CLoadingStatus::CLoadingStatus(LPCTSTR moduleName) : m_strName(moduleName ? moduleName : "") {
    StatusRegistry& r = TheStatusRegistry();
    std::lock_guard<std::mutex> g(r.lock);
    r.objects.push_back(this);
}

CLoadingStatus::~CLoadingStatus() {
    StatusRegistry& r = TheStatusRegistry();
    std::lock_guard<std::mutex> g(r.lock);
    r.objects.erase(std::remove(r.objects.begin(), r.objects.end(), this), r.objects.end());
}

BOOL CLoadingStatus::IsModuleLoaded(LPCTSTR moduleName) {
    if (!moduleName) return FALSE;
    StatusRegistry& r = TheStatusRegistry();
    std::lock_guard<std::mutex> g(r.lock);
    for (const CLoadingStatus* s : r.objects)
        if (s->m_strName == moduleName) return TRUE;
    return FALSE;
}

std::vector<std::string> CLoadingStatus::GetLoadedModules() {
    StatusRegistry& r = TheStatusRegistry();
    std::lock_guard<std::mutex> g(r.lock);
    std::vector<std::string> names;
    for (const CLoadingStatus* s : r.objects) names.push_back(s->m_strName);
    return names;
}
