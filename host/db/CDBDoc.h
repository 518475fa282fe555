// The database document: the one project open in the process, with its controllers.
//
// The host program creates one document, opens a project (or installs a database built in
// code) and sets `CDBDoc::m_pDBDoc` before any result view exists; the module reaches every
// database service through it:
//     CDBDoc* doc = CDBDoc::m_pDBDoc;
//     CDataBase* post = doc->GetMDBCtrl()->GetDBPost();
//     doc->GetPostCtrl()->SelectMode(1, 0);
// A failed `OpenDocument` keeps the project that was open and explains itself in
// `GetLastError`.
#pragma once

#include "host/db/CDispOptMgr.h"
#include "host/db/CGeomCtrl.h"
#include "host/db/CInitCtrl.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/CPostCtrl.h"
#include "host/db/CUnitCtrl.h"

#include <array>
#include <memory>
#include <vector>

class CTitleCtrlView;
class CView;
class CObject;

class CDBDoc {
public:
    static CDBDoc* m_pDBDoc;  // the document of the process; null when none

    CDBDoc();
    virtual ~CDBDoc();
    CDBDoc(const CDBDoc&) = delete;
    CDBDoc& operator=(const CDBDoc&) = delete;

    // Reads a project file; non-zero on success. On failure nothing changes.
    int OpenDocument(LPCTSTR pszPath);
    // Writes the project atomically; non-zero on success.
    int SaveDocument(LPCTSTR pszPath);
    // Writes the tables the program edits (by DBT_ id) into the project file in place, in one
    // transaction; the rest of the file is not touched. Non-zero on success.
    int SaveTables(LPCTSTR pszPath, const std::vector<int>& tableIds);
    // Makes a database built in code the document's post database (the old one is dropped).
    void AttachDataBase(std::unique_ptr<CDataBase> pDB);
    const CString& GetLastError() const { return m_strError; }
    // Path of the project file, empty for a database built in code.
    CString GetPathName() const { return m_pDB->GetPathName(); }

    CMDBCtrl* GetMDBCtrl() { return &m_mdb; }
    CPostCtrl* GetPostCtrl() { return &m_post; }
    CDispOptMgr* GetDispOpt() { return &m_dispOpt; }
    CGeomCtrl* GetGeomCtrl() { return &m_geom; }
    CUnitCtrl* GetUnitCtrl() { return &m_unit; }
    CInitCtrl* GetInitCtrl() { return &m_init; }

    // Opens (or activates) the graph view with this caption (the results module's multi-graph
    // view, made by run-time class). The document alone has no views: the host program
    // overrides this; the base answers null.
    virtual CTitleCtrlView* OpenGraphView(LPCTSTR /*pszCaption*/) { return nullptr; }

    // Tells the document's views of a change (the figure tree, view and panel read the hint):
    // every listener added, in order of adding. A host program may override it.
    virtual void UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint);
    // A view of the document that takes the hints; RemoveHintListener(owner) before it goes.
    typedef void (*PFN_HINT)(void* owner, LPARAM lHint);
    void AddHintListener(void* owner, PFN_HINT pfn) { m_hintListeners.push_back({owner, pfn}); }
    void RemoveHintListener(void* owner);
    // Post-processing: the project holds analysis results (displacements or reactions);
    // pre-processing: it does not. SetPostMode(0 or 1) fixes the answer, -1 asks the project.
    virtual BOOL IsPostMode();
    virtual BOOL IsPreMode() { return !IsPostMode(); }
    // The host's display-option dialog; this host has none, so it shows nothing.
    virtual void DisplayOptionDlg() {}
    void SetPostMode(int nMode) { m_nPostMode = nMode; }
    // Opens (or activates) the figure view with this title and returns it; closes it. The
    // document alone has no views: the base answers null and closes nothing.
    virtual CView* OpenFigureView(LPCTSTR /*pszTitle*/) { return nullptr; }
    virtual void CloseFigureView(LPCTSTR /*pszTitle*/) {}

private:
    std::unique_ptr<CDataBase> m_pDB;  // the post database
    CMDBCtrl m_mdb;
    CPostCtrl m_post;
    CDispOptMgr m_dispOpt;
    CGeomCtrl m_geom;
    CUnitCtrl m_unit;
    CInitCtrl m_init;
    CString m_strError;
    int m_nPostMode = -1;
    // IsPostMode's last answer and the versions of the tables it was read from.
    struct PostAnswer {
        bool known = false;
        BOOL post = FALSE;
        std::array<unsigned long long, 4> versions{};
    } m_postAnswer;
    std::vector<std::pair<void*, PFN_HINT>> m_hintListeners;
};
