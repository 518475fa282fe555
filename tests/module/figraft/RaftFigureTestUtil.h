// What the raft figure tests share: the document and unit they run under, and a figure made by
// its run-time class name, prepared for one drawing and load case with its notes off.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/base/CurrentUnitCtrl.h"
#include "host/db/CDBDoc.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDBase.h"

namespace rafttest {

class DocScope {
public:
    explicit DocScope(CDBDoc& doc) : m_saved(CDBDoc::m_pDBDoc) { CDBDoc::m_pDBDoc = &doc; }
    ~DocScope() { CDBDoc::m_pDBDoc = m_saved; }

private:
    CDBDoc* m_saved;
};

class UnitScope {
public:
    explicit UnitScope(double cur2m) : m_saved(CurrentUnitCtrl::Cur2M()) { CurrentUnitCtrl::SetLengthUnit(cur2m); }
    ~UnitScope() { CurrentUnitCtrl::SetLengthUnit(m_saved); }

private:
    double m_saved;
};

// The figure of class cls and type t on drawing d (none: not displayed) at load case lc.
inline std::unique_ptr<CFVDBase> MakeFigure(const char* cls, EFigureType t, UINT lc, CVdrawUtil* d) {
    std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(cls));
    std::unique_ptr<CFVDBase> fig(dynamic_cast<CFVDBase*>(obj.release()));
    EXPECT_NE(fig, nullptr) << cls;
    if (!fig) return fig;
    fig->SetType(t);
    fig->Prepare(FALSE);
    if (d) fig->Display(d);
    fig->SetNotesFlag(FALSE);
    fig->SetLoadCase(lc);
    return fig;
}

// A text of a drawing as the tests read it.
struct Text {
    std::string text;
    T_POINT2D at;
    COLORREF colour;
    bool coloured;
    double angle;
    int layer;
};

// The texts of a drawing in drawing order.
inline std::vector<Text> Texts(const CVdrawUtil& d) {
    std::vector<Text> out;
    for (long id : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(id);
        if (f->GetKind() == VdKindText)
            out.push_back({std::string(static_cast<const char*>(f->m_text)), f->m_points[0], f->m_colour,
                           f->m_hasColour != 0, f->m_angle, f->GetLayer()});
    }
    return out;
}

}  // namespace rafttest
