// Shared set-up of the legend tests: a document with a small post database, a render view with
// its graphics control (800 x 600, a 180-pixel panel margin on the right), a result model linked
// to it, and the module's string table registered so that keys resolve to the module's texts.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/contour/CLegendEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/force/CForceEngine.h"
#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/ui/CWinApp.h"
#include "module/resources/PVXResources.h"

class LegendTestView : public GRenderView {};

inline CString Txt(LPCTSTR key) { return CMsgDll::pfuncLoadStr(key, 0); }

class LegendTest : public ::testing::Test {
protected:
    void SetUp() override {
        PVXRegisterResources();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        CPVXBarContainerBase::m_nCurrentMode = -1;
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 6, 0, 0);
        b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddMemb(1, 201, {1, 2}, {1});
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        T_FREQ_D freq{};
        freq.freq = 2.5;
        freq.period = 0.4;
        freq.factor = 12.5;
        T_MPAM_D mass{};
        for (int i = 0; i < 6; ++i) mass.mass[i] = 10.0 * (i + 1);
        b.AddMode(1, freq, mass);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;

        m_model = std::make_unique<I_PVXModel>();
        m_model->Link_I_RDXModel(Ctrl());
        m_model->SetView(&m_view);
        Ctrl()->SetClientSize(800, 600);
        Ctrl()->SetClientWindowMargin(0, 0, 180, 0, 0, 0);
        AfxGetApp()->WriteProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 0);

        CLegendEngine& l = L();
        l.m_crBackTop = RGB(200, 210, 220);
        l.m_crBackBottom = RGB(100, 110, 120);
        l.m_crLine = RGB(1, 1, 1);
        l.m_crText = RGB(2, 2, 2);
        l.m_crPercent = RGB(3, 3, 3);
        l.m_crInstruction = RGB(4, 4, 4);
        l.m_crMax = RGB(5, 5, 5);
        l.m_crMin = RGB(6, 6, 6);
        // Fixed metrics so that positions are computed by hand.
        l.m_nValueCharWidth = 6;
        l.m_nValueLineHeight = 12;
        l.m_nTitleLineHeight = 16;
    }
    void TearDown() override {
        m_model.reset();
        CPVXBarContainerBase::m_nCurrentMode = -1;
        AfxGetApp()->WriteProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 0);
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }

    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }
    CLegendEngine& L() { return m_model->m_LegendEngine; }

    // Engines owned by the model from now on (it deletes them).
    CDeformEngine& Deform() {
        if (!M().m_pDeformEngine) M().m_pDeformEngine = new CDeformEngine(m_model.get());
        return *M().m_pDeformEngine;
    }
    CReactionEngine& Reaction() {
        if (!M().m_pReactionEngine) M().m_pReactionEngine = new CReactionEngine(m_model.get());
        return *M().m_pReactionEngine;
    }
    CForceEngine& Force() {
        if (!M().m_pForceEngine) M().m_pForceEngine = new CForceEngine(m_model.get());
        return *M().m_pForceEngine;
    }
    CStressEngine& Stress() {
        if (!M().m_pStressEngine) M().m_pStressEngine = new CStressEngine(m_model.get());
        return *M().m_pStressEngine;
    }
    // The display mode, and the same component selected in every engine (all made when missing).
    void ShowComponent(int nMode, int nComp) {
        M().m_nDisplayMode = nMode;
        Reaction().m_nComponent = nComp;
        Deform().m_nComponent = nComp;
        Force().m_nBForcComp = Force().m_nWForcComp = Force().m_nPForcComp = Force().m_nSForcComp = nComp;
        Force().m_nSWallComp = nComp;
        Stress().m_nComponent = nComp;
    }
    // A colour scale of n levels from lo to hi for an engine, made the legend's current scale.
    static CContourEngine* GiveScale(CEngineBase& e, int n, double lo, double hi) {
        delete e.m_pContourEngine;
        e.m_pContourEngine = new CContourEngine(lo, hi);
        e.m_pContourEngine->m_nNumColor = n;
        e.m_pContourEngine->MakeRankMap(lo, hi);
        return e.m_pContourEngine;
    }

    static std::vector<std::string> Texts(const CRecordDC& dc) {
        std::vector<std::string> out;
        for (const GdiRecord* r : dc.GetRecords("TextOut")) out.push_back(r->text);
        return out;
    }
    static const GdiRecord* FindText(const CRecordDC& dc, const std::string& text) {
        for (const GdiRecord* r : dc.GetRecords("TextOut"))
            if (r->text == text) return r;
        return nullptr;
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    LegendTestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
};

// The colour of a gradient vertex.
inline COLORREF LegendVertexColor(const TRIVERTEX& v) { return RGB(v.Red >> 8, v.Green >> 8, v.Blue >> 8); }

// The unit text of a unit code in the project's unit system.
inline CString LegendUnit(int code) {
    CString s;
    CUnitCtrl().GetUnitSystem(code, s);
    return s;
}

// Helpers of the tests that pin listed legend lines (text, alignment, reference point).
inline std::string LegendStr(const CString& s) { return std::string(s.GetString()); }
constexpr UINT kLegendLeft = TA_LEFT | TA_BOTTOM;
constexpr UINT kLegendCentre = TA_CENTER | TA_BOTTOM;
struct LegendLine {
    std::string text;
    UINT align;
    int x, y;
};
