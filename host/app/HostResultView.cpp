#include "host/app/HostResultView.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "host/app/ModeTable.h"
#include "host/base/I_PVXModelBase.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CUiDriver.h"

bool CHostViewRequest::ParseView(const char* pszCommand, const std::string& v) {
    static const struct {
        const char* name;
        int view;
    } kViews[] = {{"iso", GViewCamera::VIEW_ISO},
                  {"plan", GViewCamera::VIEW_TOP},
                  {"front", GViewCamera::VIEW_FRONT},
                  {"right", GViewCamera::VIEW_RIGHT}};
    for (const auto& k : kViews)
        if (v == k.name) {
            nView = k.view;
            pszView = k.name;
            return true;
        }
    std::fprintf(stderr, "pvxhost %s: unknown view \"%s\" (use iso, plan, front or right)\n", pszCommand, v.c_str());
    return false;
}

bool CHostViewRequest::ParseSize(const char* pszCommand, const std::string& v) {
    const size_t x = v.find_first_of("xX");
    if (x == std::string::npos) {
        std::fprintf(stderr, "pvxhost %s: --size wants WIDTHxHEIGHT in pixels, e.g. 1920x1080, not \"%s\"\n",
                     pszCommand, v.c_str());
        return false;
    }
    const std::string opt = std::string(pszCommand) + " --size ";
    return ParseIntArgument(opt + "width", v.substr(0, x), 16, kMaxSide, nWidth) &&
           ParseIntArgument(opt + "height", v.substr(x + 1), 16, kMaxSide, nHeight);
}

int CheckOutputFolder(const char* pszCommand, const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    if (::access(dir.c_str(), W_OK) != 0) {
        std::fprintf(stderr, "pvxhost %s: cannot write \"%s\": the folder \"%s\" %s\n", pszCommand, path.c_str(),
                     dir.c_str(), errno == ENOENT ? "does not exist" : "is not writable");
        return 0;
    }
    return 1;
}

HBITMAP CHostResultView::GetWindowPicture() const {
    return m_pView ? UiGetWindowSurface(m_pView->GetSafeHwnd()) : nullptr;
}

int CHostResultView::Open(const CHostOptions& options, const CHostViewRequest& request, CHostResultChoice* pResult) {
    const char* cmd = m_strCommand.c_str();
    if (!m_session.Open(options.strDBPath)) return 0;

    m_strModule = request.strModule.empty() ? CPVXModuleLoader::DefaultModulePath() : request.strModule;
    if (!m_loader.Load(m_strModule) || !m_loader.OpenResultView()) {
        std::fprintf(stderr, "pvxhost %s: %s\n", cmd, m_loader.GetLastError().c_str());
        return 0;
    }
    m_pView = m_loader.GetResultView();
    m_pCtrl = m_pView->GetI_PVXCtrl();
    m_pModel = m_pCtrl->GetI_PVXModel();
    if (!m_pModel) {
        std::fprintf(stderr, "pvxhost %s: the result view has no result model to draw\n", cmd);
        return 0;
    }

    const int w = static_cast<int>(request.nWidth), h = static_cast<int>(request.nHeight);
    m_pView->MoveWindow(0, 0, w, h, FALSE);
    if (m_pCtrl->GetClientRect().Width() != w || m_pCtrl->GetClientRect().Height() != h) m_pCtrl->SetClientSize(w, h);

    // Painting reaches shown windows only, as on screen.
    if (CFrameWnd* pFrame = m_pView->GetParentFrame()) pFrame->ShowWindow(SW_SHOW);
    m_pView->ShowWindow(SW_SHOW);
    m_pModel->PV_OnModeChange();
    m_pCtrl->SetStandardView(request.nView);
    if (pResult && pResult->IsAsked() && (pResult->Resolve(*m_session.GetDB()) || pResult->Apply(m_loader, m_pModel)))
        return 0;
    m_pCtrl->InvalidateImage();
    m_pView->Invalidate(FALSE);
    m_pView->UpdateWindow();
    AfxPumpMessages();
    if (!m_pCtrl->IsImageValid()) {
        std::fprintf(stderr,
                     "pvxhost %s: the results module did not draw the view when the host asked it to "
                     "repaint (\"%s\")\n",
                     cmd, m_strModule.c_str());
        return 0;
    }
    return 1;
}
