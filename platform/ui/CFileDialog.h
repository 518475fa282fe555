// CFileDialog: the open/save file dialog, answered by CUiDriver with a path (or cancelled).
//
// The filter string ("Avi Files (*.avi)|*.avi|All Files (*.*)|*.*||") is parsed into name and
// pattern pairs; a chosen path without an extension gets the default extension. An open dialog
// with OFN_FILEMUSTEXIST refuses a file that does not exist (reported; the dialog is cancelled).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/CDialog.h"

struct OPENFILENAME {
    DWORD lStructSize;
    HWND hwndOwner;
    LPCTSTR lpstrFilter;     // as given, '|' separated
    DWORD nFilterIndex;      // 1-based filter chosen
    LPTSTR lpstrFile;        // chosen path
    DWORD nMaxFile;
    LPCTSTR lpstrInitialDir;
    LPCTSTR lpstrTitle;
    DWORD Flags;             // OFN_*
    LPCTSTR lpstrDefExt;
};

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    INT_PTR DoModal() override;
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;
    // The path the dialog answers for a typed one: the default extension added to a file name
    // that has no dot.
    static std::string AnsweredPath(const std::string& typed, const std::string& defExt);

    int GetFilterCount() const { return static_cast<int>(m_filters.size()); }
    CString GetFilterName(int i) const;
    CString GetFilterPattern(int i) const;

    OPENFILENAME m_ofn;
    BOOL m_bOpenFileDialog;

private:
    std::string m_strDefExt, m_strFileName, m_strFilter, m_strTitle, m_strPath;
    std::vector<char> m_fileBuf;
    std::vector<std::pair<std::string, std::string>> m_filters;
};
