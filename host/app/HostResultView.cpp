#include "host/app/HostResultView.h"

#include <cstdio>

#include "host/app/HostOutput.h"
#include "host/app/ModeTable.h"
#include "host/base/I_PVXModelBase.h"
#include "host/base/PVXHostResult.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/gdi/BmpFile.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CUiDriver.h"

namespace {

// The standard views by name, in the order of the --view choices.
const struct {
    const char* name;
    int view;
} kViews[] = {{"iso", GViewCamera::VIEW_ISO},
              {"plan", GViewCamera::VIEW_TOP},
              {"front", GViewCamera::VIEW_FRONT},
              {"right", GViewCamera::VIEW_RIGHT}};

}  // namespace

std::vector<CHostOption> CHostViewRequest::Options() {
    std::vector<CHostOption> options = {
        {"--view", EHostValue::kChoice, "iso|plan|front|right", "direction the model is seen from, fitted to the picture",
         "iso"},
        {"--size", EHostValue::kSize, "WxH", "size of the picture in pixels", "1024x768", kMinSide, kMaxSide},
        ModuleOption(),
    };
    for (const CHostOption& o : CHostActivePart::Options()) options.push_back(o);
    return options;
}

CHostOption CHostViewRequest::ModuleOption() {
    return {"--module", EHostValue::kPath, "PATH",
            "the results module to load (default: lib/libqsn_pvx.so beside the program's bin folder)"};
}

void CHostViewRequest::Read(const CHostArgs& args) {
    strView = args.Get("--view");
    for (const auto& k : kViews)
        if (strView == k.name) nView = k.view;
    args.GetSize("--size", nWidth, nHeight);
    strModule = args.Get("--module");
    part.Read(args);
}

std::vector<CHostProgress::Step> CHostResultView::Steps() {
    // Shares measured on a 100,000-plate project.
    return {{"reading the project", 9}, {"preparing the view", 31}, {"drawing the view", 60}};
}

HBITMAP CHostResultView::GetWindowPicture() const {
    return m_pView ? UiGetWindowSurface(m_pView->GetSafeHwnd()) : nullptr;
}

int CHostResultView::WriteShownPicture(CHostOutputFile& out, bool bEmf, const CHostViewRequest& request) {
    m_pView->Invalidate(FALSE);
    m_pView->UpdateWindow();
    AfxPumpMessages();
    if (int status = out.Begin()) return status;
    CString path(out.GetTempPath().c_str());
    if (bEmf)
        m_pModel->PV_OnExportWindowsMetaFileEx(path);
    else
        WriteBmp24(out.GetTempPath().c_str(), GetWindowPicture());
    return bEmf ? out.Commit() : out.Commit(request.nWidth, request.nHeight);
}

void CHostResultView::FitResultTexts(const CHostViewRequest& request) {
    auto fit = reinterpret_cast<PFN_PVXHOST_FIT_RESULT_TEXTS>(m_loader.GetSymbol(PVXHOST_FIT_RESULT_TEXTS));
    PVXHostTextFit f{};
    if (fit && fit(m_pModel, &f)) ReportCrowdedTexts(f, request);
}

void CHostResultView::ReportCrowdedTexts(const PVXHostTextFit& f, const CHostViewRequest& request) {
    if (f.nCrowded <= f.nTexts / 50) return;
    std::printf("note: %d pairs of the %d texts stand over each other or run together at %ldx%ld", f.nCrowded,
                f.nTexts, request.nWidth, request.nHeight);
    if (f.nNever > 0) std::printf("; %d pairs are written at one point and do at any size", f.nNever);
    if (f.nApartWidth > 0)
        std::printf("; %s stand apart at --size %ldx%ld", f.nNever > 0 ? "the others" : "they", f.nApartWidth,
                    f.nApartHeight);
    std::printf("\n");
}

void CHostResultView::PrintStackedPlanNote(const CHostViewRequest& request, bool bLabels) {
    auto shows = reinterpret_cast<PFN_PVXHOST_SHOWS_STOREY_NUMBERS>(m_loader.GetSymbol(PVXHOST_SHOWS_STOREY_NUMBERS));
    const bool bNumbers = bLabels || (shows && m_pModel && shows(m_pModel));
    const std::string note = m_part.StackedPlanNote(request.nView == GViewCamera::VIEW_TOP, bNumbers);
    if (!note.empty()) std::printf("%s\n", note.c_str());
}

int CHostResultView::Open(const CHostOptions& options, const CHostViewRequest& request, CHostProgress* progress,
                          size_t firstStep, CHostResultChoice* pResult) {
    if (progress) progress->Enter(firstStep);
    if (!m_session.Open(options.strDBPath)) return 0;
    m_part = request.part;
    if (int status = m_part.Resolve(*m_session.GetDB())) {
        m_nFailStatus = status;
        return 0;
    }

    if (progress) progress->Enter(firstStep + 1);
    m_strModule = request.strModule.empty() ? CPVXModuleLoader::DefaultModulePath() : request.strModule;
    if (!m_loader.Load(m_strModule) || !m_loader.OpenResultView()) {
        HostMessage("%s", m_loader.GetLastError().c_str());
        return 0;
    }
    m_pView = m_loader.GetResultView();
    m_pCtrl = m_pView->GetI_PVXCtrl();
    m_pModel = m_pCtrl->GetI_PVXModel();
    if (!m_pModel) {
        HostMessage("the result view has no result model to draw");
        return 0;
    }

    const int w = static_cast<int>(request.nWidth), h = static_cast<int>(request.nHeight);
    m_pView->MoveWindow(0, 0, w, h, FALSE);
    if (m_pCtrl->GetClientRect().Width() != w || m_pCtrl->GetClientRect().Height() != h) m_pCtrl->SetClientSize(w, h);

    // Painting reaches shown windows only, as on screen.
    if (CFrameWnd* pFrame = m_pView->GetParentFrame()) pFrame->ShowWindow(SW_SHOW);
    m_pView->ShowWindow(SW_SHOW);
    m_pModel->PV_OnModeChange();
    m_part.Apply(*m_session.GetDB(), *m_pCtrl);
    if (pResult) {
        const std::string lacks = pResult->PartLacks(m_part.IsAsked(), m_part.ShowsStorey(0), m_part.Describe());
        if (!lacks.empty()) {
            HostMessage("%s", lacks.c_str());
            return 0;
        }
    }
    // The result first: its legend panel takes a margin of the view, which the fit leaves free.
    if (pResult && pResult->IsAsked() && (pResult->Resolve(*m_session.GetDB()) || pResult->Apply(m_loader, m_pModel)))
        return 0;
    m_pCtrl->SetStandardView(request.nView);
    std::string why;
    if (!m_pCtrl->HasVisibleExtent(&why)) HostMessage("nothing visible to draw: %s", why.c_str());
    if (pResult && pResult->IsAsked()) FitResultTexts(request);

    if (progress) progress->Enter(firstStep + 2);
    m_pCtrl->InvalidateImage();
    m_pView->Invalidate(FALSE);
    m_pView->UpdateWindow();
    AfxPumpMessages();
    if (!m_pCtrl->IsImageValid()) {
        HostMessage("the results module did not draw the view when the host asked it to repaint (\"%s\")",
                    m_strModule.c_str());
        return 0;
    }
    return 1;
}
