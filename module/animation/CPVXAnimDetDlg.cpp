#include "module/animation/CPVXAnimDetDlg.h"

#include <cstring>

#include "module/animation/CAnimationEngine.h"
#include "module/bars/CPVXOptionDlgs.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

namespace {
// Colour depths of the list, in its order.
constexpr int kBits[] = {8, 16, 24};
constexpr const char* kColorNames[] = {"256 Colors (8 bits)", "High Color (16 bits)", "True Color (24 bits)"};

// The record keeps the options as eleven words, the layout of its archive.
static_assert(sizeof(AVICOMPRESSOPTIONS) == sizeof(T_PVX_BAR_INFO::adwCompressOptions),
              "the options record and the compress options hold the same words");
}  // namespace

IMPLEMENT_DYNAMIC(CPVXAnimDetDlg, CDialog)

BEGIN_MESSAGE_MAP(CPVXAnimDetDlg, CDialog)
    ON_BN_CLICKED(CPVXAnimDetDlg::IDC_COMPRESSOR, OnCompressor)
END_MESSAGE_MAP()

CPVXAnimDetDlg::CPVXAnimDetDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_pPage(nullptr),
      m_pView(nullptr),
      m_pBarInfo(nullptr),
      m_CompressOptions{},
      m_bAnimateContour(0),
      m_nCycle(-1),
      m_nColorIndex(-1),
      m_bCompress(0),
      m_nFrames(0),
      m_nFps(0) {}

I_PVXModel* CPVXAnimDetDlg::Model() const { return m_pView ? m_pView->GetPVXModel() : nullptr; }

void CPVXAnimDetDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_ANIMATE_CONTOUR, m_bAnimateContour);
    DDX_Radio(pDX, IDC_HALF_CYCLE, m_nCycle);
    DDX_CBIndex(pDX, IDC_COLOR_DEPTH, m_nColorIndex);
    DDX_Check(pDX, IDC_COMPRESS, m_bCompress);
    DDX_Text(pDX, IDC_FRAMES, m_nFrames);
    DDV_MinMaxInt(pDX, m_nFrames, kMinFrames, kMaxFrames);
    DDX_Text(pDX, IDC_FPS, m_nFps);
    DDV_MinMaxInt(pDX, m_nFps, kMinFps, kMaxFps);
}

std::vector<CBarControlName> CPVXAnimDetDlg::GetControlNames() const {
    return {{IDC_ANIMATE_CONTOUR, "animate-contour"}, {IDC_HALF_CYCLE, "cycle"},  {IDC_COLOR_DEPTH, "bits"},
            {IDC_COMPRESS, "compress"},               {IDC_COMPRESSOR, "compressor"}, {IDC_FRAMES, "frames"},
            {IDC_FPS, "fps"}};
}

BOOL CPVXAnimDetDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (const T_PVX_BAR_INFO* b = m_pBarInfo) {
        m_bAnimateContour = b->bAnimateContour;
        m_nCycle = b->nRepeatMode ? 1 : 0;
        m_bCompress = b->bCompress;
        std::memcpy(&m_CompressOptions, b->adwCompressOptions, sizeof(m_CompressOptions));
        m_nColorIndex = -1;
        for (int i = 0; i < 3; ++i)
            if (b->nBitsPerPixel == kBits[i]) m_nColorIndex = i;
        m_nFrames = b->nFramesPerHalfCycle;
        m_nFps = b->nFramesPerSecond;
    }
    if (auto* pList = dynamic_cast<CComboBox*>(GetDlgItem(IDC_COLOR_DEPTH))) {
        pList->ResetContent();
        for (const char* s : kColorNames) pList->AddString(s);
    }
    // The box shows what the compressor choice decided; it is not set by hand.
    if (CWnd* p = GetDlgItem(IDC_COMPRESS)) p->EnableWindow(FALSE);
    UpdateData(FALSE);
    return TRUE;
}

BOOL CPVXAnimDetDlg::PreTranslateMessage(MSG* pMsg) {
    PVXReturnToTab(*this, pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CPVXAnimDetDlg::OnCompressor() {
    I_PVXModel* pModel = Model();
    if (!pModel) return;
    UpdateData(TRUE);
    m_bCompress = pModel->m_AnimationEngine.ChooseCompressor(m_CompressOptions) ? 1 : 0;
    UpdateData(FALSE);
}

void CPVXAnimDetDlg::OnOK() {
    // The exchange refuses counts outside their ranges with its own message; the dialog then
    // stays open and the record keeps its values.
    if (!UpdateData(TRUE)) return;
    if (T_PVX_BAR_INFO* b = m_pBarInfo) {
        b->bAnimateContour = m_bAnimateContour;
        b->nRepeatMode = m_nCycle == 1 ? 1 : 0;
        if (m_nColorIndex >= 0 && m_nColorIndex < 3) b->nBitsPerPixel = kBits[m_nColorIndex];
        b->bCompress = m_bCompress;
        if (m_bCompress) std::memcpy(b->adwCompressOptions, &m_CompressOptions, sizeof(m_CompressOptions));
        b->nFramesPerHalfCycle = m_nFrames;
        b->nFramesPerSecond = m_nFps;
    }
    EndDialog(IDOK);
    if (!m_pPage) ApplyToEngine();
}

void CPVXAnimDetDlg::ApplyToEngine() {
    I_PVXModel* pModel = Model();
    if (!pModel || !m_pBarInfo) return;
    const T_PVX_BAR_INFO& b = *m_pBarInfo;
    CAnimationEngine& ani = pModel->m_AnimationEngine;
    ani.m_bAnimateContour = b.bAnimateContour;
    ani.m_bFullCycle = b.nRepeatMode;
    ani.m_nBitsPerPixel = b.nBitsPerPixel;
    ani.m_bCompress = b.bCompress;
    std::memcpy(&ani.m_CompressOptions, b.adwCompressOptions, sizeof(ani.m_CompressOptions));
    ani.m_nFramesPerHalfCycle = b.nFramesPerHalfCycle;
    ani.m_nFramesPerSecond = b.nFramesPerSecond;
    pModel->m_bRedrawRequested = 1;
    ani.ApplyAnimationModeRule();
    pModel->RebuildQuadTree();
    pModel->m_bRedrawRequested = 0;
}
