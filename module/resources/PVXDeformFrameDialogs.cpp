// Dialog templates of the system bar's pages (deformed shape 10534, displacement contour 10536,
// node displacement 10535, settlement 16241, mode shapes 10569), the member bar's frame force
// pages (10571, 10574) and the option dialogs they open (deformation details 10591, number
// details 10588, mode-shape details 10607, choice of modes 10609).
//
// Pages are 150 dialog units wide, as the bars' other pages: the load group on top, the page's
// groups, then the icon, Apply and Close buttons. Captions given with the pages are the
// system's; group titles without one and the labels marked are our own.
#include <vector>

#include "module/bars/CPVXBarDeformPages.h"
#include "module/bars/CPVXBarDlgBase.h"
#include "module/bars/CPVXBarFramePages.h"
#include "module/bars/CPVXBarMdShp.h"
#include "module/bars/CPVXOptionDlgs.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using pvxres::Dialog;
using pvxres::Hidden;
using pvxres::Item;
using pvxres::kNoId;

// Lays out one page top down.
class Page {
public:
    explicit Page(UINT nID) {
        m_t.nID = nID;
        m_t.style = WS_CHILD;
    }
    // The load group with its list and "..." (no "..." when bLoadDialog is FALSE).
    void Load(const char* title, UINT nCombo, BOOL bLoadDialog = TRUE) {
        Add(Item(CPVXBarDlgBase::IDC_PAGE_LOAD_GROUP, UiCtl::Group, title, 5, m_y, 140, 32));
        Add(Item(nCombo, UiCtl::Combo, "", 10, m_y + 12, bLoadDialog ? 108 : 130, 100));
        if (bLoadDialog) Add(Item(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, UiCtl::Button, "...", 122, m_y + 12, 18, 13));
        m_y += 35;
    }
    // A group of radios, nPerRow to a row (hidden ones take no room).
    void Radios(const char* title, const std::vector<UINT>& ids, const std::vector<const char*>& captions, int nPerRow,
                size_t nShown = 0) {
        if (nShown == 0) nShown = ids.size();
        const int rows = (static_cast<int>(nShown) + nPerRow - 1) / nPerRow;
        Add(Item(kNoId, UiCtl::Group, title, 5, m_y, 140, 14 + 12 * rows));
        const int w = 130 / nPerRow;
        for (size_t i = 0; i < ids.size(); ++i) {
            const int r = static_cast<int>(i) / nPerRow, c = static_cast<int>(i) % nPerRow;
            UiDlgItem it = Item(ids[i], UiCtl::Radio, captions[i], 10 + c * w, m_y + 11 + 12 * r, w - 2, 10, i == 0);
            Add(i < nShown ? it : Hidden(it));
        }
        m_y += 17 + 12 * rows;
    }
    // Radios that are all hidden (their values stay; the user cannot reach them).
    void HiddenRadios(const std::vector<UINT>& ids, const std::vector<const char*>& captions) {
        for (size_t i = 0; i < ids.size(); ++i)
            Add(Hidden(Item(ids[i], UiCtl::Radio, captions[i], 10, 0, 30, 10, i == 0)));
    }
    // A check box with its "..." button (0: none) on one row.
    void CheckRow(UINT nCheck, const char* caption, UINT nMore, BOOL bHidden = FALSE) {
        UiDlgItem box = Item(nCheck, UiCtl::Check, caption, 10, m_y, 100, 10);
        Add(bHidden ? Hidden(box) : box);
        if (nMore) {
            UiDlgItem more = Item(nMore, UiCtl::Button, "...", 122, m_y - 1, 18, 11);
            Add(bHidden ? Hidden(more) : more);
        }
        if (!bHidden) m_y += 13;
    }
    void Group(const char* title, int nRows) {
        Add(Item(kNoId, UiCtl::Group, title, 5, m_y, 140, 6 + 13 * nRows));
        m_y += 11;
    }
    void EndGroup() { m_y += 6; }
    void Add(UiDlgItem it) { m_t.items.push_back(std::move(it)); }
    int& Y() { return m_y; }
    UiDlgTemplate Finish(BOOL bIcon = TRUE) {
        if (bIcon) Add(Hidden(Item(CPVXBarDlgBase::IDC_PAGE_ICON, UiCtl::Button, "", 5, m_y, 18, 13)));
        Add(Item(CPVXBarDlgBase::IDC_PAGE_APPLY, UiCtl::DefButton, "适用", 40, m_y, 50, 13));
        Add(Item(CPVXBarDlgBase::IDC_PAGE_CLOSE, UiCtl::Button, "关闭", 95, m_y, 50, 13));
        m_t.size = CSize(pvxres::kBarWidth, m_y + 18);
        return m_t;
    }

private:
    UiDlgTemplate m_t;
    int m_y = 3;
};

const char* const kLoadTitle = "荷载工况/荷载组合";

UiDlgTemplate DeformPage() {
    using P = CPVXBarDeform;
    Page b(P::IDD);
    b.Load(kLoadTitle, P::IDC_LOAD);
    b.HiddenRadios({P::IDC_COMP_DX, P::IDC_COMP_DY, P::IDC_COMP_DZ, P::IDC_COMP_DXYZ, P::IDC_COMP_DXY, P::IDC_COMP_DYZ,
                    P::IDC_COMP_DXZ},
                   {"DX", "DY", "DZ", "DXYZ", "DXY", "DYZ", "DXZ"});
    b.Group("显示选项", 5);
    b.CheckRow(P::IDC_DEFORMED, "变形", P::IDC_DEFORMED_MORE);
    b.CheckRow(P::IDC_VALUES, "数值", P::IDC_VALUES_MORE);
    b.CheckRow(P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE);
    b.CheckRow(P::IDC_ANIMATION, "动画", P::IDC_ANIMATION_MORE);
    b.CheckRow(P::IDC_UNDEFORMED, "变形前", 0);
    b.EndGroup();
    return b.Finish();
}

UiDlgTemplate DContrPage() {
    using P = CPVXBarDContr;
    Page b(P::IDD);
    b.Load(kLoadTitle, P::IDC_LOAD);
    b.HiddenRadios({P::IDC_COMP_DX, P::IDC_COMP_DY, P::IDC_COMP_DZ, P::IDC_COMP_DXYZ, P::IDC_COMP_RX, P::IDC_COMP_RY,
                    P::IDC_COMP_RZ, P::IDC_COMP_DXY, P::IDC_COMP_DYZ, P::IDC_COMP_DXZ},
                   {"DX", "DY", "DZ", "DXYZ", "RX", "RY", "RZ", "DXY", "DYZ", "DXZ"});
    b.Group("显示选项", 7);
    b.CheckRow(P::IDC_CONTOUR, "等值线", P::IDC_CONTOUR_MORE);
    b.CheckRow(P::IDC_DEFORMED, "变形", P::IDC_DEFORMED_MORE);
    b.CheckRow(P::IDC_VALUES, "数值", P::IDC_VALUES_MORE);
    b.CheckRow(P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE);
    b.CheckRow(P::IDC_ANIMATION, "动画", P::IDC_ANIMATION_MORE);
    b.CheckRow(P::IDC_UNDEFORMED, "变形前", 0);
    b.CheckRow(P::IDC_CUT_SECTION, "剖断面内力图", P::IDC_CUT_SECTION_MORE);
    b.EndGroup();
    return b.Finish();
}

UiDlgTemplate SettlementPage() {
    using P = CPVXBarSetMnt;
    Page b(P::IDD);
    b.Load("荷载组", P::IDC_GROUP);  // our own
    b.Group("显示选项", 3);
    b.CheckRow(P::IDC_CONTOUR, "等值线", P::IDC_CONTOUR_MORE);
    b.CheckRow(P::IDC_VALUES, "数值", P::IDC_VALUES_MORE);
    b.CheckRow(P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE);
    b.CheckRow(P::IDC_DEFORMED, "变形", P::IDC_DEFORMED_MORE, TRUE);
    b.CheckRow(P::IDC_ANIMATION, "动画", P::IDC_ANIMATION_MORE, TRUE);
    b.CheckRow(P::IDC_UNDEFORMED, "变形前", 0, TRUE);
    b.EndGroup();
    return b.Finish();
}

UiDlgTemplate NodeDispPage() {
    using P = CPVXBarSrhdsp;
    Page b(P::IDD);
    b.Load(kLoadTitle, P::IDC_LOAD);
    b.Add(Item(kNoId, UiCtl::Group, "点取节点", 5, b.Y(), 140, 28));
    b.Add(Item(kNoId, UiCtl::Static, "点取：", 10, b.Y() + 13, 30, 10));
    b.Add(Item(P::IDC_NODE, UiCtl::Edit, "", 42, b.Y() + 11, 96, 12));
    b.Y() += 32;
    return b.Finish(FALSE);
}

UiDlgTemplate ModeShapePage() {
    using P = CPVXBarMdShp;
    Page b(P::IDD);
    b.Add(Item(CPVXBarDlgBase::IDC_PAGE_LOAD_GROUP, UiCtl::Group, "荷载工况(模态号)", 5, b.Y(), 140, 46));
    b.Add(Item(P::IDC_LOAD, UiCtl::Combo, "", 10, b.Y() + 12, 130, 100));
    b.Add(Item(P::IDC_MULTI_MODE, UiCtl::Button, "多模态显示", 10, b.Y() + 28, 130, 13));
    b.Y() += 49;
    b.Radios("内力",
             {P::IDC_COMP_X, P::IDC_COMP_Y, P::IDC_COMP_Z, P::IDC_COMP_XYZ, P::IDC_COMP_XY, P::IDC_COMP_YZ,
              P::IDC_COMP_XZ},
             {"Md-X", "Md-Y", "Md-Z", "Md-XYZ", "Md-XY", "Md-YZ", "Md-XZ"}, 4);
    b.Group("显示选项", 6);
    b.CheckRow(P::IDC_MODE_SHAPE, "模态形状", P::IDC_MODE_SHAPE_MORE);
    b.CheckRow(P::IDC_CONTOUR, "等值线", P::IDC_CONTOUR_MORE);
    b.CheckRow(P::IDC_VALUES, "数值", P::IDC_VALUES_MORE);
    b.CheckRow(P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE);
    b.CheckRow(P::IDC_ANIMATION, "动画", P::IDC_ANIMATION_MORE);
    b.CheckRow(P::IDC_UNDEFORMED, "变形前", 0);
    b.EndGroup();
    return b.Finish();
}

// The output positions of a frame page: all, max, then I, centre and J.
template <class P>
void Positions(Page& b) {
    b.Add(Item(kNoId, UiCtl::Group, "输出位置", 5, b.Y(), 140, 32));
    b.Add(Item(P::IDC_ALL, UiCtl::Check, "全部", 10, b.Y() + 11, 40, 10));
    b.Add(Item(P::IDC_MAX, UiCtl::Check, "最大值", 55, b.Y() + 11, 45, 10));
    b.Add(Item(P::IDC_IEND, UiCtl::Check, "I端", 10, b.Y() + 22, 40, 10));        // our own
    b.Add(Item(P::IDC_CENTRE, UiCtl::Check, "中间", 55, b.Y() + 22, 40, 10));     // our own
    b.Add(Item(P::IDC_JEND, UiCtl::Check, "J端", 100, b.Y() + 22, 40, 10));       // our own
    b.Y() += 35;
    b.Add(Hidden(Item(P::IDC_UNIT_MEMBER, UiCtl::Radio, "构件", 10, 0, 40, 10, TRUE)));
    b.Add(Hidden(Item(P::IDC_UNIT_MEMBER + 1, UiCtl::Radio, "单元", 55, 0, 40, 10, FALSE)));
}

// The side of an envelope a frame page shows (group and captions our own).
template <class P>
void EnvelopeSide(Page& b) {
    b.Radios("包络", {P::IDC_SIDE_MAX, P::IDC_SIDE_MIN, P::IDC_SIDE_ABS}, {"最大值", "最小值", "绝对值最大"}, 3);
}

template <class P>
void FrameDisplay(Page& b, BOOL bDeformedShown) {
    b.Group("显示选项", bDeformedShown ? 6 : 5);
    b.CheckRow(P::IDC_CONTOUR, "等值线", P::IDC_CONTOUR_MORE);
    b.CheckRow(P::IDC_DEFORMED, "变形", P::IDC_DEFORMED_MORE, !bDeformedShown);
    b.CheckRow(P::IDC_VALUES, "数值", P::IDC_VALUES_MORE);
    b.CheckRow(P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE);
    b.CheckRow(P::IDC_ANIMATION, "动画", P::IDC_ANIMATION_MORE);
    b.CheckRow(P::IDC_UNDEFORMED, "变形前", 0);
    b.EndGroup();
}

UiDlgTemplate FrameForcePage() {
    using P = CPVXBarBForc;
    Page b(P::IDD);
    b.Load(kLoadTitle, P::IDC_LOAD);
    EnvelopeSide<P>(b);
    b.Radios("内力", {P::IDC_COMP_MOMENT, P::IDC_COMP_SHEAR, P::IDC_COMP_TORQUE, 10742, 10743, 10744},
             {"弯矩", "剪力", "扭矩", "N", "V", "Mz"}, 3, 3);
    FrameDisplay<P>(b, TRUE);
    Positions<P>(b);
    return b.Finish();
}

UiDlgTemplate FrameDiagramPage() {
    using P = CPVXBarBSfd;
    Page b(P::IDD);
    b.Load(kLoadTitle, P::IDC_LOAD);
    EnvelopeSide<P>(b);
    b.Radios("内力",
             {P::IDC_COMP_MOMENT, P::IDC_COMP_SHEAR, P::IDC_COMP_TORQUE, 11013, 11015, 11018, P::IDC_COMP_VYZ,
              P::IDC_COMP_MYZ},
             {"弯矩", "剪力", "扭矩", "N", "V", "Mz", "Vyz", "Myz"}, 3, 3);
    FrameDisplay<P>(b, FALSE);
    Positions<P>(b);
    b.Radios("内力图", {P::IDC_EXACT, P::IDC_FIVE_POINTS}, {"精确", "五点"}, 2);                 // our own
    b.Radios("填充", {P::IDC_FILL_NONE, P::IDC_FILL_NONE + 1, P::IDC_FILL_NONE + 2}, {"无", "线", "全部"}, 3);  // our own
    b.Add(Item(kNoId, UiCtl::Static, "比例系数：", 10, b.Y() + 2, 45, 10));  // our own
    b.Add(Item(P::IDC_SCALE, UiCtl::Edit, "", 58, b.Y(), 50, 12));
    b.Y() += 15;
    b.CheckRow(P::IDC_MINMAX, "最大/最小内力图", 0);  // our own
    return b.Finish();
}

// ---- option dialogs ----------------------------------------------------------------------------

UiDlgTemplate DeformDetailDialog() {
    UiDlgTemplate t = Dialog(IDD_PVX_DEFORM_DETAIL, "变形详细设置", 160, 70);
    UiDlgItem group = Item(IDC_DEF_BEAM_GROUP, UiCtl::Group, "Beam Deformation", 7, 80, 146, 26);
    group.style |= WS_DISABLED;
    t.items = {
        Item(kNoId, UiCtl::Static, "变形显示放大系数：", 7, 9, 80, 10),
        Item(IDC_DEF_SCALE, UiCtl::Edit, "", 90, 7, 60, 12),
        Item(IDC_OPT_APPLY_ON_OK, UiCtl::Check, "仅适用于点击‘确认’时", 7, 27, 140, 10),
        Item(IDOK, UiCtl::DefButton, "确认", 35, 47, 50, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 95, 47, 50, 14),
        // Out of the visible area: the beam deformation is set by the page.
        group,
        Item(IDC_DEF_NODAL, UiCtl::Radio, "Nodal Deform", 12, 92, 60, 10),
        Item(IDC_DEF_REAL, UiCtl::Radio, "Real Deform", 80, 92, 60, 10, FALSE),
    };
    return t;
}

UiDlgTemplate NumberDetailDialog() {
    UiDlgTemplate t = Dialog(IDD_PVX_NUMBER_DETAIL, "数值输出详细设置", 170, 160);
    UiDlgItem angle = Item(IDC_NUM_ANGLE, UiCtl::Combo, "", 80, 109, 50, 100);
    t.items = {
        Item(kNoId, UiCtl::Static, "小数点位置：", 7, 9, 60, 10),
        Item(IDC_NUM_DECIMALS, UiCtl::Edit, "", 70, 7, 30, 12),
        Item(IDC_NUM_EXPONENT, UiCtl::Check, "指数型", 110, 8, 50, 10),
        Item(IDC_NUM_ONLY_MINMAX, UiCtl::Check, "仅输出最小最大值", 7, 26, 120, 10),
        Item(IDC_NUM_MINMAX_BOTH, UiCtl::Radio, "最小和最大值", 15, 39, 70, 10),
        Item(IDC_NUM_MINMAX_BOTH + 1, UiCtl::Radio, "绝对值最大", 90, 39, 70, 10, FALSE),
        Item(IDC_NUM_MINMAX_BOTH + 2, UiCtl::Radio, "最大值", 15, 51, 70, 10, FALSE),
        Item(IDC_NUM_MINMAX_BOTH + 3, UiCtl::Radio, "最小值", 90, 51, 70, 10, FALSE),
        Item(kNoId, UiCtl::Static, "最大比例(%)：", 15, 67, 60, 10),
        Item(IDC_NUM_RATIO, UiCtl::Edit, "", 80, 65, 50, 12),
        Item(IDC_NUM_DIRECTION, UiCtl::Check, "输出方向：", 7, 110, 70, 10),
        angle,
        Item(IDC_OPT_APPLY_ON_OK, UiCtl::Check, "仅适用于点击‘确认’时", 7, 126, 150, 10),
        Item(IDOK, UiCtl::DefButton, "确认", 45, 140, 50, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 105, 140, 50, 14),
    };
    return t;
}

UiDlgTemplate ModeShapeDetailDialog() {
    using D = CPVXMdShpDetDlg;
    UiDlgTemplate t = Dialog(D::IDD, "模态详细设置", 160, 90);
    t.items = {
        Item(kNoId, UiCtl::Static, "模态显示放大系数：", 7, 9, 80, 10),
        Item(D::IDC_SCALE, UiCtl::Edit, "", 90, 7, 60, 12),
        Item(D::IDC_CUBIC, UiCtl::Check, "三次插值", 7, 26, 80, 10),
        Item(kNoId, UiCtl::Static, "三次插值系数：", 7, 43, 80, 10),
        Item(D::IDC_CUBIC_FACTOR, UiCtl::Edit, "", 90, 41, 60, 12),
        Item(D::IDC_APPLY_ON_OK, UiCtl::Check, "仅适用于点击‘确认’时", 7, 58, 140, 10),
        Item(IDOK, UiCtl::DefButton, "确认", 35, 72, 50, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 95, 72, 50, 14),
    };
    return t;
}

UiDlgTemplate MultiModeDialog() {
    using D = CPVXMultiModeDlg;
    UiDlgTemplate t = Dialog(D::IDD, "选择模态", 130, 170);
    UiDlgItem list = Item(D::IDC_MODES, UiCtl::ListBox, "", 7, 19, 116, 100);
    list.style |= WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_MULTIPLESEL;
    t.items = {
        Item(kNoId, UiCtl::Static, "模态号：", 7, 7, 60, 10),
        list,
        Item(D::IDC_SIDE_BY_SIDE, UiCtl::Radio, "横向布置", 7, 124, 55, 10),
        Item(D::IDC_ONE_ABOVE_OTHER, UiCtl::Radio, "竖向布置", 66, 124, 55, 10, FALSE),
        Item(IDOK, UiCtl::DefButton, "确认", 7, 148, 50, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 73, 148, 50, 14),
    };
    return t;
}

}  // namespace

const std::vector<UiDlgTemplate>& PVXGetDeformFrameDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = {
        DeformPage(),         DContrPage(),       SettlementPage(),   NodeDispPage(),        ModeShapePage(),
        FrameForcePage(),     FrameDiagramPage(), DeformDetailDialog(), NumberDetailDialog(), ModeShapeDetailDialog(),
        MultiModeDialog()};
    return templates;
}
