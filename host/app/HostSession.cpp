#include "host/app/HostSession.h"

#include <cstdio>
#include <cstring>

#include "host/app/HostCommand.h"
#include "host/app/HostDocument.h"
#include "host/base/CHostPreferences.h"

CHostSession::~CHostSession() {
    if (m_pDoc && CDBDoc::m_pDBDoc == m_pDoc.get()) CDBDoc::m_pDBDoc = nullptr;
}

int CHostSession::Open(const std::string& path) {
    auto doc = std::make_unique<CHostDocument>();
    if (!doc->OpenDocument(path.c_str())) {
        const char* why = doc->GetLastError();
        HostMessage("cannot open project \"%s\": %s", path.c_str(), why && *why ? why : "unknown error");
        return 0;
    }
    // What the database mended on reading (a member listing an element twice ...).
    if (CDataBase* db = doc->GetMDBCtrl()->GetDBPost())
        for (const std::string& w : db->GetWarnings()) HostMessage("warning: %s", w.c_str());
    T_PREFERENCE pref;
    pref.Initialize();
    std::snprintf(pref.szTempDir, sizeof(pref.szTempDir), "%s", CHostPreferences::GetTempPath().c_str());
    doc->GetInitCtrl()->SetPreference(pref);
    CDBDoc::m_pDBDoc = doc.get();
    m_pDoc = std::move(doc);
    return 1;
}

CDataBase* CHostSession::GetDB() { return m_pDoc ? m_pDoc->GetMDBCtrl()->GetDBPost() : nullptr; }
