#include "host/grx/CContourSetDlg.h"

#include <string>

#include "host/grx/CContourTool.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/uiapi.h"

namespace {

void RegisterTemplate() {
    static const bool done = [] {
        UiDlgTemplate t;
        t.nID = CContourSetDlg::IDD;
        t.size = CSize(220, 150);
        t.caption = "等值线参数";
        using D = CContourSetDlg;
        t.items = {MakeDlgItem(0, UiCtl::Static, "等值线值", CRect(7, 9, 60, 19)),
                   MakeDlgItem(D::IDC_LEVELS, UiCtl::Edit, "", CRect(62, 7, 213, 19)),
                   MakeDlgItem(0, UiCtl::Static, "条带数", CRect(7, 25, 60, 35)),
                   MakeDlgItem(D::IDC_STRIPS, UiCtl::Edit, "", CRect(62, 23, 120, 35)),
                   MakeDlgItem(0, UiCtl::Static, "主线间隔", CRect(7, 41, 60, 51)),
                   MakeDlgItem(D::IDC_SUBCOUNT, UiCtl::Edit, "", CRect(62, 39, 120, 51)),
                   MakeDlgItem(D::IDC_LABELSINSIDE, UiCtl::Check, "标注只在轮廓内", CRect(7, 57, 120, 67)),
                   MakeDlgItem(D::IDC_RENDER, UiCtl::Check, "云图", CRect(7, 71, 120, 81)),
                   MakeDlgItem(D::IDC_SUBTEXT, UiCtl::Check, "次线标注", CRect(7, 85, 120, 95)),
                   MakeDlgItem(0, UiCtl::Static, "主线线宽", CRect(7, 101, 60, 111)),
                   MakeDlgItem(D::IDC_MAINWEIGHT, UiCtl::Edit, "", CRect(62, 99, 120, 111)),
                   MakeDlgItem(0, UiCtl::Static, "次线线宽", CRect(7, 117, 60, 127)),
                   MakeDlgItem(D::IDC_SUBWEIGHT, UiCtl::Edit, "", CRect(62, 115, 120, 127)),
                   MakeDlgItem(IDOK, UiCtl::DefButton, "确定", CRect(160, 99, 213, 113)),
                   MakeDlgItem(IDCANCEL, UiCtl::Button, "取消", CRect(160, 117, 213, 131))};
        return RegisterDialogTemplate(t) != FALSE;
    }();
    (void)done;
}

std::string Number(double v) {
    CString s;
    s.Format("%g", v);
    return s.GetString();
}

std::string Text(CWnd* dlg, UINT id) {
    CString s;
    dlg->GetDlgItemText(static_cast<int>(id), s);
    return s.GetString();
}

}  // namespace

CContourSetDlg::CContourSetDlg(CContourTool& tool, CWnd* pParent) : CDialog(IDD, pParent), m_tool(tool) {
    RegisterTemplate();
}

std::vector<CBarControlName> CContourSetDlg::GetControlNames() const {
    return {{IDC_LEVELS, "levels"},       {IDC_STRIPS, "strips"},   {IDC_SUBCOUNT, "subcount"},
            {IDC_LABELSINSIDE, "labelsinside"}, {IDC_RENDER, "render"}, {IDC_SUBTEXT, "subtext"},
            {IDC_MAINWEIGHT, "mainweight"}, {IDC_SUBWEIGHT, "subweight"}};
}

BOOL CContourSetDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const CContourToolPar& p = m_tool.GetContourPar();
    std::string levels = "auto";
    if (!p.nAutoLevels) {
        levels.clear();
        for (int i = 0; i < p.nLevelCount; ++i) {
            if (i) levels += ',';
            levels += Number(p.dLevels[i]);
        }
    }
    m_strLevels = levels;
    m_strStrips = std::to_string(p.nStripCount);
    SetDlgItemText(IDC_LEVELS, levels.c_str());
    SetDlgItemText(IDC_STRIPS, m_strStrips.c_str());
    SetDlgItemText(IDC_SUBCOUNT, std::to_string(p.nSubCount).c_str());
    SetDlgItemText(IDC_MAINWEIGHT, Number(p.dMainWeight).c_str());
    SetDlgItemText(IDC_SUBWEIGHT, Number(p.dSubWeight).c_str());
    CheckDlgButton(IDC_LABELSINSIDE, p.nLabelInside ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_RENDER, p.nRender ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SUBTEXT, p.nSubText ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CContourSetDlg::OnOK() {
    std::vector<std::string> words;
    // The level count and the fixed levels exclude each other: the one the user left as it was
    // does not override the other; changed both, the fixed levels win.
    const std::string levels = Text(this, IDC_LEVELS), strips = Text(this, IDC_STRIPS);
    const bool autoLevels = levels == "auto" || levels.empty(), stripsChanged = strips != m_strStrips;
    if (autoLevels || stripsChanged) words.push_back("strips=" + strips);
    if (!autoLevels && (levels != m_strLevels || !stripsChanged)) words.push_back("levels=" + levels);
    words.push_back("subcount=" + Text(this, IDC_SUBCOUNT));
    words.push_back("mainweight=" + Text(this, IDC_MAINWEIGHT));
    words.push_back("subweight=" + Text(this, IDC_SUBWEIGHT));
    words.push_back(std::string("labelsinside=") + (IsDlgButtonChecked(IDC_LABELSINSIDE) ? "1" : "0"));
    words.push_back(std::string("render=") + (IsDlgButtonChecked(IDC_RENDER) ? "1" : "0"));
    words.push_back(std::string("subtext=") + (IsDlgButtonChecked(IDC_SUBTEXT) ? "1" : "0"));
    const int changed = m_tool.DlgSet(words);
    if (!m_tool.m_strError.empty()) {
        AfxMessageBox(m_tool.m_strError.c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    m_nChanged = changed;
    CDialog::OnOK();
}
