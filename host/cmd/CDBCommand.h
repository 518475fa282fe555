// CDBCommand: one named change of the project's editable model tables (the foundation members,
// whose text offsets the figures move, the global parameters and the offsets of the figure
// notes per figure type), kept or undone as a whole.
//
//     CDBCommand cmd;
//     cmd.SetCmd("TextMove", 1, 0, 0, 0);
//     if (!cmd.Open(pDB)) return 0;
//     ... change MEMB or GBPA rows (CClassMemb::PrivateModify, CClassGbpa::PrivateModify) ...
//     return ok ? cmd.Commit() : (cmd.Abandon(), 0);
//
// Open keeps a copy of the editable tables; Abandon puts it back. Commit keeps the changes and,
// for a database read from a project file, writes the editable tables back into that file in
// place; when that write fails the changes are undone too, so memory and file never differ.
// A command left open is abandoned when it is destroyed.
#pragma once

#include "platform/afx/CString.h"

#include <memory>

class CDataBase;

class CDBCommand {
public:
    CDBCommand();
    ~CDBCommand();
    CDBCommand(const CDBCommand&) = delete;
    CDBCommand& operator=(const CDBCommand&) = delete;

    // Names the command; the four flags are kept for callers.
    void SetCmd(LPCTSTR name, int, int, int, int);
    const CString& GetCmdName() const { return m_strName; }

    // Non-zero when the command opened: a named command, a database, and not open already.
    int Open(CDataBase* pDB);
    // Non-zero when the changes were kept (and written to the project file, if any).
    int Commit();
    // Non-zero when an open command was undone.
    int Abandon();
    int IsOpen() const { return m_pDB != nullptr; }
    // Why the last Commit failed.
    const CString& GetLastError() const { return m_strError; }

    // FALSE: Commit keeps the changes in memory and leaves the project file alone, for a host
    // that writes the tables itself later (all of a session's changes in one transaction) or not
    // at all. TRUE, the default: every Commit writes them.
    static void SetWriteFile(BOOL on) { s_bWriteFile = on; }
    static BOOL GetWriteFile() { return s_bWriteFile; }
    // Commands committed in this process, so a caller can tell whether a step kept a change.
    static long GetCommitCount() { return s_nCommits; }

private:
    struct Saved;
    CString m_strName;
    CString m_strError;
    CDataBase* m_pDB = nullptr;
    std::unique_ptr<Saved> m_pSaved;
    static inline BOOL s_bWriteFile = TRUE;
    static inline long s_nCommits = 0;
};
