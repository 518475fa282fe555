// File dialogs answered by the driver.
#include "platform/ui/CFileDialog.h"

#include <sys/stat.h>

#include <cstring>

#include "platform/ui/CUiDriver.h"
#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CDialog(0u, pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog) {
    m_strDefExt = lpszDefExt ? lpszDefExt : "";
    m_strFileName = lpszFileName ? lpszFileName : "";
    m_strFilter = lpszFilter ? lpszFilter : "";
    // "name|pattern|name|pattern||": pairs until an empty name.
    size_t pos = 0;
    while (pos < m_strFilter.size()) {
        size_t a = m_strFilter.find('|', pos);
        if (a == std::string::npos) break;
        size_t b = m_strFilter.find('|', a + 1);
        std::string name = m_strFilter.substr(pos, a - pos);
        std::string pattern = m_strFilter.substr(a + 1, (b == std::string::npos ? m_strFilter.size() : b) - a - 1);
        if (name.empty()) break;
        m_filters.emplace_back(name, pattern);
        if (b == std::string::npos) break;
        pos = b + 1;
    }
    m_fileBuf.assign(MAX_PATH * 4, '\0');
    strncpy(m_fileBuf.data(), m_strFileName.c_str(), m_fileBuf.size() - 1);
    m_ofn.lStructSize = sizeof(OPENFILENAME);
    m_ofn.lpstrFilter = m_strFilter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_fileBuf.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuf.size());
    m_ofn.Flags = dwFlags;
    m_ofn.lpstrDefExt = m_strDefExt.c_str();
}

INT_PTR CFileDialog::DoModal() {
    CUiDriver& d = CUiDriver::Get();
    UiFileDialogRecord rec{m_bOpenFileDialog, CString(m_ofn.lpstrTitle ? m_ofn.lpstrTitle : ""), CString(m_strDefExt.c_str()),
                           CString(m_strFileName.c_str()), CString(m_strFilter.c_str()), CString(), IDCANCEL};
    CString path;
    int result = IDCANCEL;
    if (d.TakeFileAnswer(path)) {
        const std::string p = AnsweredPath(static_cast<LPCTSTR>(path), m_strDefExt);
        struct stat st {};
        if (m_bOpenFileDialog && (m_ofn.Flags & OFN_FILEMUSTEXIST) && stat(p.c_str(), &st) != 0) {
            ui::Error("File dialog: \"%s\" does not exist; the dialog was cancelled.", p.c_str());
        } else if (p.size() + 1 > m_ofn.nMaxFile) {
            ui::Error("File dialog: the path \"%s\" is longer than the buffer; the dialog was cancelled.", p.c_str());
        } else {
            m_strPath = p;
            strncpy(m_ofn.lpstrFile, p.c_str(), m_ofn.nMaxFile - 1);
            result = IDOK;
            rec.answer = p.c_str();
        }
    }
    rec.result = result;
    d.RecordFileDialog(rec);
    return result;
}

std::string CFileDialog::AnsweredPath(const std::string& typed, const std::string& defExt) {
    const size_t slash = typed.find_last_of("/\\");
    const size_t dot = typed.find_last_of('.');
    if (defExt.empty() || (dot != std::string::npos && (slash == std::string::npos || dot > slash))) return typed;
    return typed + "." + defExt;
}

CString CFileDialog::GetPathName() const { return CString(m_strPath.c_str()); }

CString CFileDialog::GetFileName() const {
    size_t slash = m_strPath.find_last_of("/\\");
    return CString((slash == std::string::npos ? m_strPath : m_strPath.substr(slash + 1)).c_str());
}

CString CFileDialog::GetFileExt() const {
    std::string name = static_cast<LPCTSTR>(GetFileName());
    size_t dot = name.find_last_of('.');
    return CString(dot == std::string::npos ? "" : name.substr(dot + 1).c_str());
}

CString CFileDialog::GetFileTitle() const {
    std::string name = static_cast<LPCTSTR>(GetFileName());
    size_t dot = name.find_last_of('.');
    return CString((dot == std::string::npos ? name : name.substr(0, dot)).c_str());
}

CString CFileDialog::GetFolderPath() const {
    size_t slash = m_strPath.find_last_of("/\\");
    return CString(slash == std::string::npos ? "" : m_strPath.substr(0, slash).c_str());
}

CString CFileDialog::GetFilterName(int i) const {
    return (i >= 0 && i < GetFilterCount()) ? CString(m_filters[static_cast<size_t>(i)].first.c_str()) : CString();
}

CString CFileDialog::GetFilterPattern(int i) const {
    return (i >= 0 && i < GetFilterCount()) ? CString(m_filters[static_cast<size_t>(i)].second.c_str()) : CString();
}
