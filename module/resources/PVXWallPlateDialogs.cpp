// Dialog templates of the wall force, wall diagram, plate force and plate stress pages of the
// member bar (10614, 10615, 10572, 10576).
//
// Every page is 150 dialog units wide, as the bars' other pages: the load group on top, the
// component group, the display options, the page's own groups, then the icon, Apply and Close
// buttons. Captions given with the pages are the system's; the others (group titles and the
// labels without a given caption) are marked as our own.
#include <vector>

#include "module/bars/CPVXBarDlgBase.h"
#include "module/bars/CPVXBarPForc.h"
#include "module/bars/CPVXBarPStrs.h"
#include "module/bars/CPVXBarWForc.h"
#include "module/bars/CPVXBarWSfd.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using pvxres::Hidden;
using pvxres::Item;

// Lays out one page top down.
class PageBuilder {
public:
    explicit PageBuilder(UINT nID) {
        m_t.nID = nID;
        m_t.style = WS_CHILD;
    }
    // Load group with the page's load combo and the load "..." button.
    void Load(UINT nCombo) {
        Add(Item(CPVXBarDlgBase::IDC_PAGE_LOAD_GROUP, UiCtl::Group, "荷载工况/荷载组合", 5, m_y, 140, 32));
        Add(Item(nCombo, UiCtl::Combo, "", 10, m_y + 12, 108, 100));
        Add(Item(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, UiCtl::Button, "...", 122, m_y + 12, 18, 13));
        m_y += 35;
    }
    // A group of radios, nPerRow to a row; ids[i] with captions[i].
    void Radios(const char* title, const std::vector<UINT>& ids, const std::vector<const char*>& captions, int nPerRow) {
        const int rows = (static_cast<int>(ids.size()) + nPerRow - 1) / nPerRow;
        Add(Item(0, UiCtl::Group, title, 5, m_y, 140, 14 + 12 * rows));
        const int w = 130 / nPerRow;
        for (size_t i = 0; i < ids.size(); ++i) {
            const int r = static_cast<int>(i) / nPerRow, c = static_cast<int>(i) % nPerRow;
            Add(Item(ids[i], UiCtl::Radio, captions[i], 10 + c * w, m_y + 11 + 12 * r, w - 2, 10, i == 0));
        }
        m_y += 17 + 12 * rows;
    }
    // A check box with its "..." button (0: none) on one row.
    void CheckRow(UINT nCheck, const char* caption, UINT nMore) {
        Add(Item(nCheck, UiCtl::Check, caption, 10, m_y, 100, 10));
        if (nMore) Add(Item(nMore, UiCtl::Button, "...", 122, m_y - 1, 18, 11));
        m_y += 13;
    }
    void Group(const char* title, int nRows) {
        Add(Item(0, UiCtl::Group, title, 5, m_y, 140, 6 + 13 * nRows));
        m_y += 11;
    }
    void EndGroup() { m_y += 6; }
    // The six display boxes of every page, contour to undeformed, inside the open group.
    template <class P>
    void DisplayBoxes() {
        CheckRow(P::IDC_CONTOUR, "等值线", P::IDC_CONTOUR_MORE);
        CheckRow(P::IDC_DEFORMED, "变形", P::IDC_DEFORMED_MORE);
        CheckRow(P::IDC_VALUES, "数值", P::IDC_VALUES_MORE);
        CheckRow(P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE);
        CheckRow(P::IDC_ANIMATION, "动画", P::IDC_ANIMATION_MORE);
        CheckRow(P::IDC_UNDEFORMED, "未变形", 0);
    }
    // The wall column and wall beam number boxes of a wall page, each over its four
    // output-position radios (the box captions and the beam's end captions are our own).
    template <class P>
    void WallNumbers(const std::vector<UINT>& colmPos, const std::vector<UINT>& beamPos) {
        NumberRow(P::IDC_COLM_NUMBER, "墙柱数值", colmPos, {"上端", "下端", "最大", "全部"});
        NumberRow(P::IDC_BEAM_NUMBER, "墙梁数值", beamPos, {"左端", "右端", "最大", "全部"});
    }
    void Add(UiDlgItem it) { m_t.items.push_back(std::move(it)); }
    int& Y() { return m_y; }
    // Icon, Apply and Close at the bottom.
    UiDlgTemplate Finish() {
        Add(Hidden(Item(CPVXBarDlgBase::IDC_PAGE_ICON, UiCtl::Button, "", 5, m_y, 18, 13)));
        Add(Item(CPVXBarDlgBase::IDC_PAGE_APPLY, UiCtl::DefButton, "适用", 40, m_y, 50, 13));
        Add(Item(CPVXBarDlgBase::IDC_PAGE_CLOSE, UiCtl::Button, "关闭", 95, m_y, 50, 13));
        m_t.size = CSize(pvxres::kBarWidth, m_y + 18);
        return m_t;
    }

private:
    void NumberRow(UINT nCheck, const char* caption, const std::vector<UINT>& ids,
                   const std::vector<const char*>& captions) {
        Add(Item(nCheck, UiCtl::Check, caption, 10, m_y, 100, 10));
        m_y += 12;
        Radios("输出位置", ids, captions, 4);
    }

    UiDlgTemplate m_t;
    int m_y = 3;
};

UiDlgTemplate WallForcePage() {
    using P = CPVXBarWForc;
    PageBuilder b(P::IDD);
    b.Load(P::IDC_LOAD);
    b.Radios("内力分量", {P::IDC_COMP_N, P::IDC_COMP_N + 1, P::IDC_COMP_N + 2, P::IDC_COMP_N + 3, P::IDC_COMP_N + 4,
                          P::IDC_COMP_N + 5},
             {"N", "Vy", "Vz", "T", "My", "Mz"}, 3);  // group title: our own
    b.Group("显示选项", 6);                          // our own
    b.DisplayBoxes<P>();
    b.EndGroup();
    b.WallNumbers<P>({P::IDC_COLM_TOP, P::IDC_COLM_TOP + 1, P::IDC_COLM_TOP + 2, P::IDC_COLM_TOP + 3},
                     {P::IDC_BEAM_START, P::IDC_BEAM_END, P::IDC_BEAM_MAX, P::IDC_BEAM_ALL});
    return b.Finish();
}

UiDlgTemplate WallDiagramPage() {
    using P = CPVXBarWSfd;
    PageBuilder b(P::IDD);
    b.Load(P::IDC_LOAD);
    std::vector<UINT> ids;
    for (UINT i = 0; i < P::kComponentCount; ++i) ids.push_back(P::IDC_COMP_FIRST + i);
    b.Radios("内力分量", ids, {"Vy", "Vz", "Vyz", "My", "Mz", "Myz", "N", "T"}, 4);  // our own
    b.Group("显示选项", 6);                                                           // our own
    b.DisplayBoxes<P>();
    b.EndGroup();
    b.WallNumbers<P>({P::IDC_COLM_POS1, P::IDC_COLM_POS2, P::IDC_COLM_POS3, P::IDC_COLM_POS4},
                     {P::IDC_BEAM_POS1, P::IDC_BEAM_POS2, P::IDC_BEAM_POS3, P::IDC_BEAM_POS4});
    return b.Finish();
}

UiDlgTemplate PlateForcePage() {
    using P = CPVXBarPForc;
    PageBuilder b(P::IDD);
    b.Load(P::IDC_LOAD);
    b.Radios("内力分量",
             {P::IDC_COMP_FXX, P::IDC_COMP_FYY, P::IDC_COMP_FXY, P::IDC_COMP_FMAX, P::IDC_COMP_FMIN, P::IDC_COMP_FVECTOR,
              P::IDC_COMP_FABS, P::IDC_COMP_VMAX},
             {"Fxx", "Fyy", "Fxy", "Fmax", "Fmin", "Fvector", "FMax", "VMax"}, 4);  // group title: our own
    b.Radios("坐标轴", {P::IDC_AXIS_ELEMENT, P::IDC_AXIS_UCS}, {"单元坐标轴", "UCS"}, 2);  // group: our own
    b.Add(Item(0, UiCtl::Static, "转角:", 10, b.Y() + 2, 30, 10));  // our own
    b.Add(Item(P::IDC_AXIS_ANGLE, UiCtl::Combo, "", 42, b.Y(), 50, 100));
    b.Y() += 15;
    b.CheckRow(P::IDC_SHOW_AXES, "输出UCS坐标轴", 0);
    b.Add(Item(0, UiCtl::Group, "向量显示系数", 5, b.Y(), 140, 28));
    b.Add(Item(P::IDC_VECTOR_SCALE, UiCtl::Edit, "", 10, b.Y() + 11, 60, 12));
    b.Add(Item(P::IDC_VECTOR_FACTOR, UiCtl::Edit, "", 78, b.Y() + 11, 60, 12));
    b.Y() += 31;
    b.Group("显示选项", 8);  // our own
    b.DisplayBoxes<P>();
    b.CheckRow(P::IDC_AVERAGE, "节点平均", 0);  // our own
    b.CheckRow(P::IDC_SECTION, "剖断面", P::IDC_SECTION_MORE);
    b.EndGroup();
    b.Radios("数值", {P::IDC_NUMBER_MAX, P::IDC_NUMBER_CENTRE}, {"最大值", "单元中心"}, 2);  // group: our own
    return b.Finish();
}

UiDlgTemplate PlateStressPage() {
    using P = CPVXBarPStrs;
    PageBuilder b(P::IDD);
    b.Load(P::IDC_LOAD);
    std::vector<UINT> ids;
    for (UINT i = 0; i < P::kComponentCount; ++i) ids.push_back(P::IDC_COMP_FIRST + i);
    b.Radios("应力分量", ids,
             {"Sig-xx", "Sig-yy", "Sig-zz", "Sig-xy", "Sig-yz", "Sig-xz", "Sig-max", "Sig-min", "Sig-eff", "Max-Shear"},
             3);  // group title: our own
    b.Radios("坐标轴", {P::IDC_AXIS_ELEMENT, P::IDC_AXIS_UCS}, {"单元坐标轴", "UCS"}, 2);  // group: our own
    b.Add(Item(P::IDC_AXIS_LIST, UiCtl::Combo, "", 10, b.Y(), 80, 100));
    b.Y() += 15;
    b.CheckRow(P::IDC_SHOW_AXES, "输出UCS轴", 0);
    b.Radios("应力位置", {P::IDC_SURFACE_TOP, P::IDC_SURFACE_TOP + 1, P::IDC_SURFACE_TOP + 2, P::IDC_SURFACE_TOP + 3},
             {"板顶", "板底", "两端", "绝对值最大值"}, 2);  // group title: our own
    b.Group("显示选项", 7);                               // our own
    b.DisplayBoxes<P>();
    b.CheckRow(P::IDC_SECTION, "剖断面", P::IDC_SECTION_MORE);
    b.EndGroup();
    b.Radios("数值", {P::IDC_NUMBER_MAX, P::IDC_NUMBER_CENTRE}, {"最大值", "单元中心"}, 2);  // our own
    return b.Finish();
}

}  // namespace

const std::vector<UiDlgTemplate>& PVXGetWallPlateDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = {WallForcePage(), WallDiagramPage(), PlateForcePage(),
                                                         PlateStressPage()};
    return templates;
}
