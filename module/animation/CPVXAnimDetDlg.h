// CPVXAnimDetDlg: the animation options dialog ("动画模式").
//
// Opened by the animation "..." button of a result page, which gives it the page as owner, the
// view and the page's options record (the container's settings block); the page's Apply then
// hands the record to the animation engine. Opened without an owner page, its OK applies the
// record to the model's engine at once and enters or leaves animation mode. The two counts are
// refused outside their labelled ranges (3 to 300 frames per half cycle, 5 to 60 frames per
// second): the engine divides by them.
#pragma once

#include <vector>

#include "host/base/CFormViewInBar.h"
#include "platform/ui/CDialog.h"
#include "platform/video/vfw.h"

class CPVXBarDlgBase;
class CPVXView;
class I_PVXModel;
struct T_PVX_BAR_INFO;

class CPVXAnimDetDlg : public CDialog, public IHostControlNames {
    DECLARE_DYNAMIC(CPVXAnimDetDlg)
public:
    enum : UINT {
        IDD = 10592,
        IDC_ANIMATE_CONTOUR = 11157,
        IDC_HALF_CYCLE = 11158,
        IDC_FULL_CYCLE = 11159,
        IDC_COLOR_DEPTH = 11160,
        IDC_COMPRESS = 11161,
        IDC_COMPRESSOR = 11162,
        IDC_FRAMES = 11163,
        IDC_FPS = 11164,
    };
    static constexpr int kMinFrames = 3, kMaxFrames = 300;  // frames per half cycle
    static constexpr int kMinFps = 5, kMaxFps = 60;         // frames per second

    explicit CPVXAnimDetDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    // Return moves to the next control, except on OK and Cancel.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    std::vector<CBarControlName> GetControlNames() const override;
    // The record into the model's engine, then animation mode entered or left.
    void ApplyToEngine();

    CPVXBarDlgBase* m_pPage;        // owner page; null: OK applies to the engine directly
    CPVXView* m_pView;
    T_PVX_BAR_INFO* m_pBarInfo;     // the options record edited
    AVICOMPRESSOPTIONS m_CompressOptions;  // the dialog's own copy, stored on OK when compressing

    int m_bAnimateContour;          // 11157
    int m_nCycle;                   // 11158 / 11159: 0 half, 1 full; -1 none
    int m_nColorIndex;              // 11160: 0 8 bits, 1 16 bits, 2 24 bits
    int m_bCompress;                // 11161
    int m_nFrames;                  // 11163
    int m_nFps;                     // 11164

protected:
    // The platform's compressor dialog on the dialog's copy of the options.
    void OnCompressor();
    DECLARE_MESSAGE_MAP()

private:
    I_PVXModel* Model() const;
};
