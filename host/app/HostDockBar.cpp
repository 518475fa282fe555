#include "host/app/HostDockBar.h"

#include <memory>

#include "platform/ui/CView.h"
#include "platform/ui/DialogTemplate.h"

namespace {
constexpr int kBarWidth = 240;   // pixels; the containers scroll at 226
constexpr int kBarHeight = 700;
}  // namespace

CHostDockBar::~CHostDockBar() {
    DestroyContent();
    if (GetSafeHwnd()) DestroyWindow();
}

const std::vector<const char*>& CHostDockBar::ContainerClasses() {
    static const std::vector<const char*> classes = {
        "CPVXBarContainerReac",     "CPVXBarContainerSystem",     "CPVXBarContainerMember",
        "CPVXBarContainerSlabForc", "CPVXBarContainerSlabRbar",   "CPVXBarContainerSlabDetail",
        "CPVXBarContainerStory",
    };
    return classes;
}

std::vector<CHostDockBar::Offer> CHostDockBar::GetOffers(std::vector<std::string>* pMissing) {
    std::vector<Offer> out;
    for (const char* name : ContainerClasses()) {
        CRuntimeClass* pClass = CRuntimeClass::FromName(name);
        std::unique_ptr<CObject> pObject(pClass ? pClass->CreateObject() : nullptr);
        auto* pView = dynamic_cast<CFormViewInBar*>(pObject.get());
        if (!pView) {
            if (pMissing) pMissing->push_back(name);
            continue;
        }
        for (const CBarResultInfo& r : pView->GetBarResults())
            out.push_back({name, r.nResultId, r.pszPageClass ? r.pszPageClass : "", r.pszTitleKey ? r.pszTitleKey : "",
                           r.pszPageClass && CRuntimeClass::FromName(r.pszPageClass) != nullptr});
    }
    return out;
}

bool CHostDockBar::FindOffer(int nResultId, Offer& offer) {
    for (const Offer& o : GetOffers())
        if (o.nResultId == nResultId) {
            offer = o;
            return true;
        }
    return false;
}

BOOL CHostDockBar::CreateInFrame(CWnd* pFrame) {
    if (GetSafeHwnd()) return TRUE;
    return CreateEx(0, nullptr, "result bar", WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, kBarWidth, kBarHeight), pFrame,
                    0);
}

void CHostDockBar::DestroyContent() {
    if (m_pContent && m_pContent->GetSafeHwnd()) m_pContent->DestroyWindow();
    m_pContent = nullptr;
    m_strClass.clear();
}

BOOL CHostDockBar::OnShowBarMode(int nMode, int nOption) {
    Offer offer;
    if (!GetSafeHwnd() || !FindOffer(nMode, offer)) return FALSE;
    if (m_pContent && m_strClass != offer.strContainer) DestroyContent();
    if (!m_pContent) {
        auto* pView = dynamic_cast<CFormViewInBar*>(CRuntimeClass::CreateObject(offer.strContainer.c_str()));
        if (!pView) return FALSE;
        // A view whose window was made deletes itself when the window goes; one whose template is
        // missing never had a window.
        const bool bHasTemplate = FindDialogTemplate(pView->GetTemplateId()) != nullptr;
        if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kBarWidth, kBarHeight), this,
                           AFX_IDW_PANE_FIRST)) {
            if (!bHasTemplate) delete pView;
            return FALSE;
        }
        m_pContent = pView;
        m_strClass = offer.strContainer;
        m_pContent->OnInitialUpdate();
    }
    CDockDlgBarBase::OnShowBarMode(nMode, nOption);
    m_pContent->ShowChildDlgByMode(nMode);
    return TRUE;
}
