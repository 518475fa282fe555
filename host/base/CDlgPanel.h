// The host's dialog bases of panels with tabs and the controls they use:
//   - CDlgChild: a page made from its template inside another window (no frame of its own);
//   - CDlgModeless: a modeless panel that deletes itself when its window goes;
//   - CDlgTabAlive: a tab control whose pages are made once and kept alive while hidden;
//   - CEditUnit: an edit holding one number in the current units;
//   - CColorListBox: the host's owner-drawn list box (rows drawn in the list's colours);
//   - CFunctionRegestor: the host's registry of member functions the module may call by class.
//
//     CDlgTabAlive tabs;                         // a member of the panel
//     tabs.SubclassDlgItem(16177, this);
//     tabs.AddTab(pPage, "VIEW", 10622, 1);     // makes the page as a child of the panel
//     tabs.ShowTab(0);
#pragma once

#include <functional>
#include <vector>

#include "host/base/CInternationalDlg.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CommonCtrls.h"

class CDlgChild : public CInternationalDlg {
    DECLARE_DYNAMIC(CDlgChild)
public:
    explicit CDlgChild(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CDlgChild() override;
};

// Made with Create; on PostNcDestroy the panel deletes itself, so the host keeps no pointer to
// it after its window is gone.
class CDlgModeless : public CDlgMove {
    DECLARE_DYNAMIC(CDlgModeless)
public:
    explicit CDlgModeless(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CDlgModeless() override;
    void PostNcDestroy() override;
};

class CDlgTabAlive : public CTabCtrl {
    DECLARE_DYNAMIC(CDlgTabAlive)
public:
    // Makes page (a CDialog not yet created) from its template as a child of the tab control's
    // parent, placed over the tab's page area and hidden; adds the tab. The index, -1 on failure.
    int AddTab(CDialog* page, LPCTSTR caption, UINT nIDTemplate, int nKeepAlive);
    // Shows page i and hides the others; FALSE for an index without page.
    BOOL ShowTab(int i);
    CDialog* GetPage(int i) const;
    CString GetCaption(int i) const { return i >= 0 && i < GetPageCount() ? m_captions[i] : CString(); }
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }

private:
    std::vector<CDialog*> m_pages;  // not owned
    std::vector<CString> m_captions;
};

// A number edit. The unit type and format are the host's (type 0: a plain number; format
// (width, decimals)); the edit shows the value with that many decimals, trailing zeros kept.
class CEditUnit : public CEdit {
    DECLARE_DYNAMIC(CEditUnit)
public:
    void SetUnitType(int nType) { m_nUnitType = nType; }
    void SetUnitFmt(int nWidth, int nDecimals);
    void SetEditUnit(double value);
    // The number typed; the last value set when the text is no number.
    double GetEditValue() const;
    // The number typed; FALSE when the text is no number.
    BOOL ReadEditValue(double& value) const;
    int GetUnitType() const { return m_nUnitType; }

private:
    int m_nUnitType = 0;
    int m_nWidth = 15;
    int m_nDecimals = 3;
    double m_dValue = 0.0;
};

class CColorListBox : public CListBox {
    DECLARE_DYNAMIC(CColorListBox)
};

// Two words handed to a registered member function (their meaning is the registrant's).
struct sFunctionInfor {
    UINT nFirst = 0;
    UINT nSecond = 0;
};

class CFunctionRegestor {
public:
    typedef std::function<void(UINT second, UINT first, int flag)> Function;
    // The registry of the host; null until the host makes it with Create.
    static CFunctionRegestor* Instance();
    static CFunctionRegestor* Create();
    static void Destroy();

    // Registers fn under the function class; returns its index.
    int Register(int nClass, const sFunctionInfor& info, Function fn);
    void Unregister(int index);
    // The function registered last under the class: its words and index; 0 when none.
    int ExcluteFunc(int nClass, sFunctionInfor& info, int& index) const;
    // Runs function index with the words; 0 when there is none.
    int CallMemberFunc(int index, UINT second, UINT first, int flag);

private:
    struct Entry {
        int nClass;
        sFunctionInfor info;
        Function fn;
    };
    std::vector<Entry> m_entries;  // index = position; unregistered entries keep an empty fn
};
