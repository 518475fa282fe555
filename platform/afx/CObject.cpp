// Run-time class registry, CObject basics and class references in archives.
#include "platform/afx/CObject.h"

#include "platform/afx/CArchive.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// Registered classes in registration order. Never destroyed: registrars in libraries unloaded
// at process exit may run after this file's static destructors.
struct ClassRegistry {
    std::mutex mutex;
    std::vector<CRuntimeClass*> classes;
};

ClassRegistry& Registry() {
    static ClassRegistry* s_pRegistry = new ClassRegistry;
    return *s_pRegistry;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
static AFX_CLASSINIT afxClassInit_CObject(&CObject::classCObject);

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) : m_pClass(pNewClass) {
    if (!m_pClass) return;
    ClassRegistry& reg = Registry();
    std::lock_guard<std::mutex> lock(reg.mutex);
    reg.classes.push_back(m_pClass);
}

AFX_CLASSINIT::~AFX_CLASSINIT() {
    if (!m_pClass) return;
    ClassRegistry& reg = Registry();
    std::lock_guard<std::mutex> lock(reg.mutex);
    auto it = std::find(reg.classes.rbegin(), reg.classes.rend(), m_pClass);
    if (it != reg.classes.rend()) reg.classes.erase(std::next(it).base());
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
    if (lpszClassName == nullptr) return nullptr;
    ClassRegistry& reg = Registry();
    std::lock_guard<std::mutex> lock(reg.mutex);
    for (auto it = reg.classes.rbegin(); it != reg.classes.rend(); ++it)
        if (std::strcmp((*it)->m_lpszClassName, lpszClassName) == 0) return *it;
    return nullptr;
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass ? pClass->CreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    if (pBaseClass == nullptr) return FALSE;
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass) return TRUE;
    return FALSE;
}

void CRuntimeClass::Store(CArchive& ar) const {
    WORD nLen = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum) {
    WORD wSchema = 0, nLen = 0;
    ar >> wSchema >> nLen;
    if (pwSchemaNum) *pwSchemaNum = wSchema;
    // Class names are short; a longer one means the archive is corrupt.
    char szClassName[64];
    if (nLen >= sizeof szClassName || ar.Read(szClassName, nLen) != nLen) return nullptr;
    szClassName[nLen] = '\0';
    return FromName(szClassName);
}

CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const {
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

void CObject::Serialize(CArchive& ar) {}

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
    return (pObject && pObject->IsKindOf(pClass)) ? pObject : nullptr;
}
