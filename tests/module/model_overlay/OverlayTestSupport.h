// Shared set-up of the label and overlay-queue tests: a model linked to a render view whose
// control shows the plan at 10 pixels per world unit, the world origin at pixel (400, 300), and
// number options with distinct colours and two decimals.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CRecordDC.h"

class OverlayTestView : public GRenderView {};

constexpr COLORREF kStartColor = RGB(200, 0, 0);
constexpr COLORREF kMiddleColor = RGB(0, 150, 0);
constexpr COLORREF kEndColor = RGB(0, 0, 220);
constexpr COLORREF kBackColor = RGB(250, 250, 200);

class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        m_pCtrl = m_view.GetI_PVXCtrl();
        m_pCtrl->SetClientSize(800, 600);
        GViewCamera& cam = m_pCtrl->GetCamera();
        cam.SetStandardView(GViewCamera::VIEW_TOP);
        cam.SetScale(10.0);
        cam.SetTarget(C3DPoint(0, 0, 0));
        m_pModel = std::make_unique<I_PVXModel>();
        m_pModel->Link_I_RDXModel(m_pCtrl);
        m_pModel->SetView(&m_view);
        T_PVX_DOPT_NUMBER_D& n = Num();
        n.m_nDecimals = 2;
        n.m_bExponent = 0;
        n.m_bNumberOpaque = 1;
        n.m_crNumber[0] = kStartColor;
        n.m_crNumber[1] = kMiddleColor;
        n.m_crNumber[2] = kEndColor;
        n.m_crNumberBack = kBackColor;
        n.m_bFixedNumberAngle = 0;
        T_PVX_DOPT_D::SetDefaultFont(n.m_lfNumber);
        ASSERT_TRUE(m_dc.Create());
    }
    void TearDown() override {
        m_pModel.reset();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }

    T_PVX_DOPT_NUMBER_D& Num() { return m_pModel->m_pDispOpt->m_Number; }
    // Device point of a plan point (x, y) on the memory image.
    static CPoint Px(double x, double y) {
        return CPoint(static_cast<int>(400 + 10 * x), static_cast<int>(300 - 10 * y));
    }
    std::vector<const GdiRecord*> Texts() const { return m_dc.GetRecords("TextOut"); }
    std::vector<const GdiRecord*> Lines() const { return m_dc.GetRecords("LineTo"); }
    std::string Dump() const { return m_dc.Dump(); }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    OverlayTestView m_view;
    I_PVXCtrl* m_pCtrl = nullptr;
    std::unique_ptr<I_PVXModel> m_pModel;
    CRecordDC m_dc;
};
