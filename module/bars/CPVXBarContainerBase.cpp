#include "module/bars/CPVXBarContainerBase.h"

#include "module/engines/CDeformEngine.h"
#include "module/model/CPVXView.h"

int CPVXBarContainerBase::m_nCurrentMode = -1;
int CPVXBarContainerBase::m_nCurChildDlg = -1;
int CPVXBarContainerBase::m_nCurrentTMMode = -1;
CPVXBarContainerBase* CPVXBarContainerBase::m_pMyself = nullptr;
int CPVXBarContainerBase::m_bRemove = 0;
int CPVXBarContainerBase::m_bIsPVXBarAlive = 0;
CDeformEngine* CPVXBarContainerBase::m_pDeformEngine = nullptr;
CEngineBase* CPVXBarContainerBase::m_pCurrentEngine = nullptr;

namespace {
// The result view current when a container is made.
CView* CurrentResultView() { return CPVXView::m_pMyself; }
}  // namespace

CPVXBarContainerBase::CPVXBarContainerBase(UINT nIDTemplate)
    : CFormView(nIDTemplate), m_pView(CurrentResultView()), m_bRebuildMBR(0) {
    m_bRemove = 0;
    m_bIsPVXBarAlive = 1;
}

// A container made from a named template is alive in the same way.
CPVXBarContainerBase::CPVXBarContainerBase(LPCTSTR lpszTemplateName)
    : CFormView(lpszTemplateName), m_pView(CurrentResultView()), m_bRebuildMBR(0) {
    m_bRemove = 0;
    m_bIsPVXBarAlive = 1;
}

CPVXBarContainerBase::~CPVXBarContainerBase() {
    DestroyCurrentEngine();
    DestroyDeformEngine();
    m_bIsPVXBarAlive = 0;
    m_bRemove = 1;
    // The shared pointer must not outlive the container it names.
    if (m_pMyself == this) m_pMyself = nullptr;
}

void CPVXBarContainerBase::DestroyCurrentEngine() {
    delete m_pCurrentEngine;  // the engine deletes its colour scale
    m_pCurrentEngine = nullptr;
}

void CPVXBarContainerBase::DestroyDeformEngine() {
    delete m_pDeformEngine;
    m_pDeformEngine = nullptr;
}
