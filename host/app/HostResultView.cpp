#include "host/app/HostResultView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "host/app/HostOutput.h"
#include "host/app/ModeTable.h"
#include "host/base/I_PVXModelBase.h"
#include "host/base/PVXHostResult.h"
#include "host/grx/GRenderView.h"
#include "host/db/CDataBase.h"
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

// Why the model is drawn small, or "": the drawn range is over kSpread times the box of nine
// in ten of the nodes (the 5th to the 95th percentile on each axis), so a node or a few far
// from the rest stretch the view and the rest is a speck (a node 1e7 m away leaves one line).
std::string SmallModelNote(CDataBase& db, const C3DPoint& lo, const C3DPoint& hi) {
    constexpr double kSpread = 100.0;
    const auto& keys = db.Table<DBT_PNODE>().Keys();
    const auto& nodes = db.Table<DBT_PNODE>().Records();
    const size_t n = nodes.size();
    const double extent = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    if (n < 2) return {};
    // Left out on each side: one in twenty (none of fewer than twenty nodes).
    const auto out = static_cast<std::ptrdiff_t>(n / 20), last = static_cast<std::ptrdiff_t>(n) - 1 - out;
    double mid[3], bulk = 0.0;
    std::vector<double> v(n);
    for (int axis = 0; axis < 3; ++axis) {
        for (size_t i = 0; i < n; ++i) v[i] = axis == 0 ? nodes[i].x : axis == 1 ? nodes[i].y : nodes[i].z;
        std::nth_element(v.begin(), v.begin() + out, v.end());
        const double low = v[static_cast<size_t>(out)];
        std::nth_element(v.begin(), v.begin() + last, v.end());
        const double high = v[static_cast<size_t>(last)];
        mid[axis] = (low + high) / 2;
        bulk = std::max(bulk, high - low);
    }
    if (!(extent > kSpread * bulk)) return {};
    size_t far = 0;
    double farthest = -1.0;
    for (size_t i = 0; i < n; ++i) {
        const double d = std::hypot(nodes[i].x - mid[0], nodes[i].y - mid[1], nodes[i].z - mid[2]);
        if (d > farthest) farthest = d, far = i;
    }
    char buf[320];
    std::snprintf(buf, sizeof buf,
                  "the model is drawn small: the view spans %g m, while most of its nodes lie within %g m; node %u at "
                  "(%g, %g, %g) lies %g m from them",
                  extent, bulk, keys[far], nodes[far].x, nodes[far].y, nodes[far].z, farthest);
    return buf;
}

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
    bSizeGiven = args.Has("--size");
    strModule = args.Get("--module");
    part.Read(args);
}

bool CHostViewRequest::GrownSize(long apartW, long apartH, long& w, long& h) const {
    const double k = std::min(1.0, static_cast<double>(kMaxGrownSide) / std::max({apartW, apartH, 1L}));
    w = std::max(nWidth, static_cast<long>(std::floor(k * apartW)));
    h = std::max(nHeight, static_cast<long>(std::floor(k * apartH)));
    return w > nWidth || h > nHeight;
}

std::vector<CHostProgress::Step> CHostResultView::Steps() {
    // Shares measured on a 100,000-plate project.
    return {{"reading the project", 9}, {"preparing the view", 31}, {"drawing the view", 60}};
}

HBITMAP CHostResultView::GetWindowPicture() const {
    return m_pView ? UiGetWindowSurface(m_pView->GetSafeHwnd()) : nullptr;
}

bool CHostResultView::RowsRefused() {
    CDataBase* db = m_session.GetDB();
    if (!db || db->GetReadErrors().empty()) return false;
    HostMessage("the view shows results without rows the project refused (above); no picture was written");
    return true;
}

int CHostResultView::WriteShownPicture(CHostOutputFile& out, bool bEmf, const CHostViewRequest& request) {
    m_pView->Invalidate(FALSE);
    m_pView->UpdateWindow();
    AfxPumpMessages();
    if (RowsRefused()) return HOST_EXIT_FAILED;
    if (int status = out.Begin()) return status;
    CString path(out.GetTempPath().c_str());
    if (bEmf)
        m_pModel->PV_OnExportWindowsMetaFileEx(path);
    else
        WriteBmp24(out.GetTempPath().c_str(), GetWindowPicture());
    return bEmf ? out.Commit() : out.Commit(request.nWidth, request.nHeight);
}

bool CHostResultView::MeasureResultTexts(PVXHostTextFit& f, bool bMetafile) {
    auto fit = reinterpret_cast<PFN_PVXHOST_FIT_RESULT_TEXTS>(m_loader.GetSymbol(PVXHOST_FIT_RESULT_TEXTS));
    f = PVXHostTextFit{};
    f.bMetafile = bMetafile ? 1 : 0;
    return fit && fit(m_pModel, &f);
}

void CHostResultView::FitResultTexts(CHostViewRequest& request) {
    PVXHostTextFit f{};
    if (MeasureResultTexts(f, request.bMetafile)) SizeForTexts(request, f);
}

void CHostResultView::SizeForTexts(CHostViewRequest& request, PVXHostTextFit f) {
    const PVXHostTextFit first = f;
    const long w0 = request.nWidth, h0 = request.nHeight;
    // The texts keep their size in pixels while the model grows with the picture, but labels the
    // spacer moved and offsets in pixels do not follow the scale exactly: a second or third
    // measure takes up what the first size left.
    long w = w0, h = h0;
    for (int round = 0; round < 3 && !request.bSizeGiven && f.nApartWidth > 0; ++round) {
        if (!request.GrownSize(f.nApartWidth, f.nApartHeight, w, h)) break;
        SizeWindow(w, h);
        request.nWidth = w;
        request.nHeight = h;
        m_pCtrl->ViewZoomAll(0);
        if (!MeasureResultTexts(f, request.bMetafile)) break;
    }
    // A larger picture that parts none of them (labels the measure took to move apart with the
    // scale and that do not) is no better: the size asked for stays.
    if ((request.nWidth != w0 || request.nHeight != h0) && f.nCrowded >= first.nCrowded) {
        SizeWindow(w0, h0);
        request.nWidth = w0;
        request.nHeight = h0;
        m_pCtrl->ViewZoomAll(0);
        if (!MeasureResultTexts(f, request.bMetafile)) f = first;
    }
    const bool bGrown = request.nWidth != w0 || request.nHeight != h0;
    if (bGrown)
        request.strSizeNote = "; grown from " + std::to_string(w0) + "x" + std::to_string(h0) + ", where " +
                              std::to_string(first.nCrowded) + " pairs of its " + std::to_string(first.nTexts) +
                              " texts stand over each other or run together";
    const bool bCapped = bGrown && std::max(request.nWidth, request.nHeight) >= CHostViewRequest::kMaxGrownSide;
    ReportCrowdedTexts(f, request, bCapped);
}

void CHostResultView::ReportCrowdedTexts(const PVXHostTextFit& f, CHostViewRequest& request, bool bCapped) const {
    if (f.nCrowded <= f.nTexts / 50) return;
    const std::string size = std::to_string(request.nWidth) + "x" + std::to_string(request.nHeight);
    // Without --size, where no picture up to the largest taken parts them, the Wrote line says so
    // and names what draws fewer texts.
    const bool bBeyond = f.nApartWidth > 0 && std::max(f.nApartWidth, f.nApartHeight) > CHostViewRequest::kMaxGrownSide;
    if (!request.bSizeGiven && (bCapped || bBeyond || f.nApartWidth == 0)) {
        const char* fewer = m_part.ShowsSeveralStoreys() ? "--storey N draws one storey's"
                                                         : "--member-keys K1,K2 draws a few members'";
        request.strSizeNote += "; " + std::string(bCapped ? "at " + size + ", the largest size taken without --size, " : "") +
                               std::to_string(f.nCrowded) + " pairs of its " + std::to_string(f.nTexts) +
                               " texts stand over each other or run together" + (bCapped ? "" : " at " + size) +
                               " and no size up to " + std::to_string(CHostViewRequest::kMaxGrownSide) +
                               " pixels parts them";
        if (f.nOnSymbols > 0) request.strSizeNote += " (" + std::to_string(f.nOnSymbols) + " of them numbers on a marker)";
        request.strSizeNote += std::string("; ") + fewer;
        return;
    }
    std::printf("note: %d pairs of the %d texts stand over each other or run together at %s", f.nCrowded, f.nTexts,
                size.c_str());
    if (f.nOnSymbols > 0) std::printf(" (%d of them numbers on a marker)", f.nOnSymbols);
    if (f.nNever > 0) std::printf("; %d pairs are written at one point or on their node's marker and do at any size", f.nNever);
    if (f.nApartWidth > 0)
        std::printf("; %s stand apart at --size %ldx%ld", f.nNever > 0 ? "the others" : "they", f.nApartWidth,
                    f.nApartHeight);
    std::printf("\n");
}

void CHostResultView::SizeWindow(long w, long h) {
    const int cx = static_cast<int>(w), cy = static_cast<int>(h);
    m_pView->MoveWindow(0, 0, cx, cy, FALSE);
    const CRect client = m_pCtrl->GetClientRect();
    if (client.Width() != cx || client.Height() != cy) m_pCtrl->SetClientSize(cx, cy);
}

void CHostResultView::PrintStackedPlanNote(const CHostViewRequest& request, bool bLabels) {
    auto shows = reinterpret_cast<PFN_PVXHOST_SHOWS_STOREY_NUMBERS>(m_loader.GetSymbol(PVXHOST_SHOWS_STOREY_NUMBERS));
    const bool bNumbers = bLabels || (shows && m_pModel && shows(m_pModel));
    const std::string note = m_part.StackedPlanNote(request.nView == GViewCamera::VIEW_TOP, bNumbers);
    if (!note.empty()) std::printf("%s\n", note.c_str());
}

int CHostResultView::Open(const CHostOptions& options, CHostViewRequest& request, CHostProgress* progress,
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
    if (!m_loader.Load(m_strModule) ||
        !m_loader.OpenResultView(static_cast<int>(request.nWidth), static_cast<int>(request.nHeight))) {
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

    SizeWindow(request.nWidth, request.nHeight);

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
    if (pResult) pResult->SetSupportsBelow(m_part.SupportsBelow(*m_session.GetDB()));
    // The result first: its legend panel takes a margin of the view, which the fit leaves free.
    if (pResult && pResult->IsAsked() && (pResult->Resolve(*m_session.GetDB()) || pResult->Apply(m_loader, m_pModel)))
        return 0;
    m_pCtrl->SetStandardView(request.nView);
    std::string why;
    C3DPoint lo, hi;
    if (!m_pCtrl->HasVisibleExtent(&why))
        HostMessage("nothing visible to draw: %s", why.c_str());
    else if (m_pCtrl->GetDrawnRange(lo, hi) && !(why = SmallModelNote(*m_session.GetDB(), lo, hi)).empty())
        HostMessage("%s", why.c_str());
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
    return ModelFits(request);
}

bool CHostResultView::ModelFits(const CHostViewRequest& request) const {
    const CRect area = m_pCtrl->GetDrawingArea();
    if (area.Width() >= kMinModelSide && area.Height() >= kMinModelSide) return true;
    // Without a legend beside it the model has the whole picture.
    if (area.Width() >= request.nWidth && area.Height() >= request.nHeight)
        HostMessage("the model does not fit in the %ldx%ld picture (at least %d pixels each way are needed); give a "
                    "larger --size",
                    request.nWidth, request.nHeight, kMinModelSide);
    else
        HostMessage("the model does not fit in the %ldx%ld picture: the legend leaves it %dx%d pixels (at least %d "
                    "each way are needed); give a larger --size",
                    request.nWidth, request.nHeight, std::max(0, area.Width()), std::max(0, area.Height()), kMinModelSide);
    return false;
}
