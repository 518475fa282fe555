// The project a pvxhost command works on: the process's database document and its preferences.
//
// Open reads a project file into a new CDBDoc, makes it the document of the process
// (CDBDoc::m_pDBDoc, which modules reach) and gives it the host's temporary directory. On
// failure it prints a message naming the file and the problem (HostMessage) and returns 0. The
// session forgets the document when it ends.
#pragma once

#include <memory>
#include <string>

#include "host/db/CDBDoc.h"

class CHostSession {
public:
    CHostSession() = default;
    ~CHostSession();
    CHostSession(const CHostSession&) = delete;
    CHostSession& operator=(const CHostSession&) = delete;

    int Open(const std::string& path);

    CDBDoc* GetDoc() { return m_pDoc.get(); }
    // The post database of the open project; null before a successful Open.
    CDataBase* GetDB();

private:
    std::unique_ptr<CDBDoc> m_pDoc;
};
