// CAnimationEngine: recording to AVI films, playback in the media window, the compressor.
//
// A recording renders N + 1 frames (2N + 1 for a full cycle) once each into a temporary film,
// then copies them in cycle order into the final film:
//   half cycle, 2N + 2 samples: 0 1 .. N, N .. 1 0
//   full cycle, 4N + 3 samples: 0 .. N, N .. 0, N+1 .. 2N, 2N .. N+1, 0
// (rendered frames N+1 .. 2N carry the factors of the second swing, k = 2N+3 .. 3N+2).
// Escape, polled before every frame, ends either phase early with what is done so far; with no
// frame at all there is no film and the recording is reported as failed.
#include <cstdio>
#include <memory>
#include <vector>

#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "host/db/CDBDoc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/animation/CAniCtrlBar.h"
#include "module/animation/CAnimationEngine.h"
#include "module/model/I_PVXModel.h"
#include "platform/afx/Utf8.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/uiapi.h"
#include "platform/video/MCIWnd.h"

namespace {

CString Text(const char* key) { return CMsgDll::pfuncLoadStr(key, 0); }

// Escape pressed since the last poll.
bool EscapePressed() { return (::GetAsyncKeyState(VK_ESCAPE) & 1) != 0; }

CView* LiveView(I_PVXModel* pModel) {
    CView* pView = pModel ? pModel->GetView() : nullptr;
    return pView && pView->GetSafeHwnd() ? pView : nullptr;
}

// The view's player window style: child, visible, no play bar, no movie sizing, no menu, no
// error dialog.
constexpr DWORD kPlayerStyle = 0x5000400E;

}  // namespace

CString CAnimationEngine::TempPathOf(const CString& strFinalPath) {
    std::string s = strFinalPath.GetString();
    while (!s.empty() && (s.back() == '.' || s.back() == 'A' || s.back() == 'V' || s.back() == 'I')) s.pop_back();
    return CString((s + "TMP.AVI").c_str());
}

int CAnimationEngine::SourceFrame(int i, int N) {
    if (i <= N) return i;
    if (i <= 2 * N + 1) return 2 * N + 1 - i;
    if (i <= 3 * N + 1) return i - N - 1;
    const int s = 5 * N + 2 - i;
    return s == N ? 0 : s;
}

CString CAnimationEngine::PreferenceTempDir() const {
    T_PREFERENCE pref;
    pref.Initialize();
    CDBDoc* pDoc = m_pModel ? m_pModel->GetDBDoc() : nullptr;
    if (pDoc && pDoc->GetInitCtrl()) pDoc->GetInitCtrl()->GetPreference(pref);
    return CString(pref.szTempDir);
}

void CAnimationEngine::RecordAnimation() {
    const int bLoadSelected = m_pModel ? m_pModel->m_bLoadSelected : 0;
    // An Escape pressed before (to close a dialog, say) must not end this recording.
    EscapePressed();
    if (OpenAVIFiles()) {
        m_bRecording = 1;
        RecordFrames();
    } else {
        m_bRecording = 0;
        CloseAVIFiles();
    }
    if (m_pModel) m_pModel->m_bLoadSelected = bLoadSelected;
    StartPlayback();
}

BOOL CAnimationEngine::OpenAVIFiles() { return OpenAVIFile(nullptr); }

BOOL CAnimationEngine::OpenAVIFile(const char* pszPath) {
    // 1-2: the render surface, compatible with the view.
    CView* pView = LiveView(m_pModel);
    if (!pView) return FALSE;
    CClientDC dc(pView);
    // A recording frames the view as it draws its frames; the compressor's probe film leaves the
    // view alone (a legend margin set there would stay unfitted when Apply then finds the drawing
    // area unchanged).
    if (!pszPath) m_pModel->ResetLegendRectAndFit();
    CRect rc;
    pView->GetClientRect(&rc);
    const int w = rc.Width(), h = rc.Height();
    if (w <= 0 || h <= 0) return FALSE;
    m_pRenderDC = new CDC;
    m_pRenderBitmap = new CBitmap;
    if (!m_pRenderDC->CreateCompatibleDC(&dc) || !m_pRenderBitmap->CreateCompatibleBitmap(&dc, w, h)) return FALSE;
    m_hOldRenderBitmap = ::SelectObject(m_pRenderDC->GetSafeHdc(), m_pRenderBitmap->GetSafeHandle());

    // 3-4: the frame DIB of the engine's depth; 8 bits take the platform's fixed palette.
    const int bits = m_nBitsPerPixel == 8 || m_nBitsPerPixel == 24 ? m_nBitsPerPixel : 16;
    const DWORD colours = bits <= 8 ? (1u << bits) : 0;
    m_pFrameDC = new CDC;
    m_pFrameDC->CreateCompatibleDC(nullptr);
    m_pFrameFormat = reinterpret_cast<BITMAPINFO*>(new BYTE[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)]());
    BITMAPINFOHEADER& bih = m_pFrameFormat->bmiHeader;
    bih.biSize = sizeof(BITMAPINFOHEADER);
    bih.biWidth = w;
    bih.biHeight = h;
    bih.biPlanes = 1;
    bih.biBitCount = static_cast<WORD>(bits);
    bih.biCompression = BI_RGB;
    bih.biSizeImage = static_cast<DWORD>(((w * bits + 31) / 32) * 4 * h);
    bih.biClrUsed = colours;
    if (colours) {
        PALETTEENTRY pe[256];
        ::GetSystemPaletteEntries(dc.GetSafeHdc(), 0, 256, pe);
        for (int i = 0; i < 256; ++i)
            m_pFrameFormat->bmiColors[i] = RGBQUAD{pe[i].peBlue, pe[i].peGreen, pe[i].peRed, 0};
    }
    m_hDIBSection = ::CreateDIBSection(m_pFrameDC->GetSafeHdc(), m_pFrameFormat, DIB_RGB_COLORS, &m_pFrameBits, nullptr, 0);
    if (!m_hDIBSection) {
        GMsgOutNF(Text("IDS_TBX_PVX_Animation__DIB_Creation_Failed_"));
        return FALSE;
    }
    m_hOldFrameBitmap = ::SelectObject(m_pFrameDC->GetSafeHdc(), m_hDIBSection);
    if (colours) ::SetDIBColorTable(m_pFrameDC->GetSafeHdc(), 0, 256, m_pFrameFormat->bmiColors);

    // 5-6: the films.
    AVIFileInit();
    ++m_nAviOpens;
    const CString strDir = PreferenceTempDir();
    HRESULT hr = AVIERR_FILEOPEN;
    if (pszPath) {
        if (*pszPath) hr = AVIFileOpen(&m_pFinalFile, pszPath, OF_CREATE | OF_READWRITE | OF_SHARE_DENY_NONE, nullptr);
    } else {
        m_strTempPath = m_strFinalPath.IsEmpty() ? CString() : TempPathOf(m_strFinalPath);
        if (!m_strTempPath.IsEmpty())
            hr = AVIFileOpen(&m_pTempFile, m_strTempPath, OF_CREATE | OF_READWRITE | OF_SHARE_DENY_NONE, nullptr);
        if (hr == AVIERR_OK)
            hr = AVIFileOpen(&m_pFinalFile, m_strFinalPath, OF_CREATE | OF_READWRITE | OF_SHARE_DENY_NONE, nullptr);
    }
    if (hr == AVIERR_MEMORY) {
        // Not the folder's fault: the films' libraries or buffers found no memory.
        ::MessageBox(pView->GetSafeHwnd(), "There is not enough memory to create the animation file.", nullptr,
                     MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    if (hr != AVIERR_OK) {
        const CString text = Text("IDS_TBX_PVX_Animation__Cannot_Open_Create_Temporary_") + "\n" +
                             Text("IDS_TBX_PVX_Check_Temporary_Directory_") + "\n" + strDir +
                             Text("IDS_TBX_PVX_Exists_");
        ::MessageBox(pView->GetSafeHwnd(), text, nullptr, MB_OK | MB_ICONSTOP);
        return FALSE;
    }

    // 7-8: one stream in each film; the final one through the compressor when compressing.
    m_StreamInfo = AVISTREAMINFO{};
    m_StreamInfo.fccType = streamtypeVIDEO;
    m_StreamInfo.fccHandler = m_bCompress ? 0 : m_CompressOptions.fccHandler;
    m_StreamInfo.dwScale = 1;
    m_StreamInfo.dwRate = static_cast<DWORD>(FramesPerSecond());
    m_StreamInfo.dwSuggestedBufferSize = bih.biSizeImage;
    m_StreamInfo.rcFrame = RECT{0, 0, w, h};
    const LONG cbFormat = static_cast<LONG>(sizeof(BITMAPINFOHEADER) + 4 * colours);
    if (m_pTempFile && (AVIFileCreateStream(m_pTempFile, &m_pTempStream, &m_StreamInfo) != AVIERR_OK ||
                        AVIStreamSetFormat(m_pTempStream, 0, m_pFrameFormat, cbFormat) != AVIERR_OK))
        return FALSE;
    if (AVIFileCreateStream(m_pFinalFile, &m_pFinalStream, &m_StreamInfo) != AVIERR_OK) return FALSE;
    if (m_bCompress) {
        if (AVIMakeCompressedStream(&m_pCompStream, m_pFinalStream, &m_CompressOptions, nullptr) != AVIERR_OK ||
            AVIStreamSetFormat(m_pCompStream, 0, m_pFrameFormat, cbFormat) != AVIERR_OK) {
            GMsgOutNF(Text("IDS_TBX_PVX_Animation__Making_Compressed_Stream_Fail"));
            return FALSE;
        }
    } else if (AVIStreamSetFormat(m_pFinalStream, 0, m_pFrameFormat, cbFormat) != AVIERR_OK) {
        return FALSE;
    }
    return TRUE;
}

void CAnimationEngine::RecordFrames() {
    CView* pView = LiveView(m_pModel);
    if (!pView || !m_pTempStream || !m_pFinalStream) {
        m_bRecording = 0;
        return;
    }
    CClientDC dc(pView);
    pView->BeginWaitCursor();
    CRect rc;
    pView->GetClientRect(&rc);
    const int w = rc.Width(), h = rc.Height();
    const LONG cbImage = static_cast<LONG>(m_pFrameFormat->bmiHeader.biSizeImage);
    const int bits = m_pFrameFormat->bmiHeader.biBitCount;
    BITMAPINFO frameInfo{};
    frameInfo.bmiHeader = m_pFrameFormat->bmiHeader;
    const int N = FramesPerHalfCycle();
    CProgressCtrl* pProgress =
        m_pAniCtrlBar && m_pAniCtrlBar->m_wndProgress.GetSafeHwnd() ? &m_pAniCtrlBar->m_wndProgress : nullptr;
    auto progress = [&](int lo, int hi, int pos) {
        if (!pProgress) return;
        if (hi >= lo) pProgress->SetRange32(lo, hi);
        pProgress->SetPos(pos);
    };
    progress(0, RenderedFrameCount(), 0);
    GMsgOutClear();
    GMsgOutNF(Text("IDS_TBX_PVX_Creating_Animation_Frames__Press_ESC_to_"));
    m_nCurFrame = 0;

    // Renders frame factor k as temporary sample t; false when it could not be stored. The
    // film's first frames are the first rendered: each goes to the film as soon as it is made,
    // its encoding then overlapping the next render.
    PAVISTREAM pOut = m_pCompStream ? m_pCompStream : m_pFinalStream;
    int nWritten = 0;
    bool bFilmFailed = false;
    int nDone = 0;
    CLegendEngine::KeptPanel legend;  // drawn into the first frame, copied into the others
    auto render = [&](int k, int t) {
        m_nCurFrame = k;
        m_pModel->m_bRedrawRequested = 0;  // the frame must not invalidate the view
        if (m_fnRenderFrame) {
            m_fnRenderFrame(m_pRenderDC, k);
        } else {
            m_pModel->PVXRender();
            if (m_pModel->m_pPVXCtrl) m_pModel->m_pPVXCtrl->SwapBuffer(m_pRenderDC);
            if (m_pModel->m_pDispOpt && m_pModel->m_pDispOpt->m_Legend.m_bShowLegend && m_pModel->m_bLoadSelected)
                m_pModel->m_LegendEngine.DrawKeptLegend(m_pRenderDC, legend);
        }
        // The picture into the frame DIB: 16 and 24 bits are read straight into its bits (the
        // same conversion a blit into the DIB does, without refreshing the DIB's picture first);
        // 8 bits go through the blit, which takes the nearest colour of the table.
        if (bits == 8 || !::GetDIBits(m_pRenderDC->GetSafeHdc(), static_cast<HBITMAP>(m_pRenderBitmap->GetSafeHandle()), 0,
                                       static_cast<UINT>(h), m_pFrameBits, &frameInfo, DIB_RGB_COLORS))
            m_pFrameDC->BitBlt(0, 0, w, h, m_pRenderDC, 0, 0, SRCCOPY);
        dc.BitBlt(0, 0, w, h, m_pRenderDC, 0, 0, SRCCOPY);
        if (AVIStreamWrite(m_pTempStream, t, 1, m_pFrameBits, cbImage, AVIIF_KEYFRAME, nullptr, nullptr) != AVIERR_OK)
            return false;
        // The film's next frame when its picture is rendered (a full cycle's second swing brings
        // the first swing's frames back), read back unless it is this one; never past the frames
        // rendered, which an Escape leaves as the film's length.
        if (!bFilmFailed && nWritten <= t && SourceFrame(nWritten, N) <= t) {
            const int s = SourceFrame(nWritten, N);
            if (s != t && AVIStreamRead(m_pTempStream, s, 1, m_pFrameBits, cbImage, nullptr, nullptr) != AVIERR_OK)
                bFilmFailed = true;
            else if (AVIStreamWrite(pOut, nWritten, 1, m_pFrameBits, cbImage, AVIIF_KEYFRAME, nullptr, nullptr) == AVIERR_OK)
                ++nWritten;
            else
                bFilmFailed = true;
        }
        progress(-1, -2, ++nDone);
        return true;
    };

    // Frames rendered; T the film's length. An Escape (or a frame that cannot be stored) ends
    // the rendering with the frames so far.
    int T = -1;
    for (int j = 0; j <= N && T < 0; ++j) {
        if (EscapePressed()) {
            GMsgOutNF(Text("IDS_TBX_PVX_Recording_Canceled_by_User"));
            T = j;
            break;
        }
        ::Sleep(0);
        if (!render(j, j)) T = j;
    }
    for (int j = 1; m_bFullCycle && T < 0 && j <= N; ++j) {
        if (EscapePressed()) {
            GMsgOutNF(Text("IDS_TBX_PVX_Recording_Canceled_by_User"));
            T = N + j;
            break;
        }
        ::Sleep(0);
        if (!render(2 * N + 2 + j, N + j)) T = N + j;
    }
    if (T < 0) T = FilmFrameCount();

    // The film: rendered frames in cycle order.
    GMsgOutNF(Text("IDS_TBX_PVX_Creating_AVI_File__Press_ESC_to_Quit"));
    progress(0, T, nWritten);
    bool bEnded = false;
    for (int i = nWritten; !bFilmFailed && i < T; ++i) {
        if (EscapePressed()) {
            GMsgOutNF(Text("IDS_TBX_PVX_Recording_Ended"));
            pView->EndWaitCursor();
            progress(0, i, i);
            bEnded = true;
            break;
        }
        ::Sleep(0);
        if (AVIStreamRead(m_pTempStream, SourceFrame(i, N), 1, m_pFrameBits, cbImage, nullptr, nullptr) != AVIERR_OK ||
            AVIStreamWrite(pOut, i, 1, m_pFrameBits, cbImage, AVIIF_KEYFRAME, nullptr, nullptr) != AVIERR_OK) {
            bFilmFailed = true;
            break;
        }
        nWritten = i + 1;
        progress(-1, -2, nWritten);
    }
    if (!bEnded) {
        pView->EndWaitCursor();
        GMsgOutNF(Text("IDS_TBX_PVX_Recording_Ended"));
    }
    m_nCurFrame = 0;
    m_bRecording = 0;
    // A frame is written after it is handed over: the film's own length counts those written.
    AVISTREAMINFO si{};
    if (AVIStreamInfo(pOut, &si, sizeof si) != AVIERR_OK || static_cast<LONG>(si.dwLength) < nWritten) bFilmFailed = true;
    if (bFilmFailed) {
        // A film that lost a frame is no recording (nor is one without a single frame): it is
        // reported as failed, not played.
        ::MessageBox(pView->GetSafeHwnd(), "The animation file could not be written; the recording failed.", nullptr,
                     MB_OK | MB_ICONSTOP);
        nWritten = 0;
    }
    m_bRecorded = nWritten > 0 ? 1 : 0;
}

void CAnimationEngine::StartPlayback() {
    CAniCtrlBar* pBar = m_pAniCtrlBar;
    if (!m_bRecorded) {
        StopAnimation();
        m_bAnimationMode = 1;
        if (pBar) {
            pBar->m_wndMarquee.Reset();
            pBar->m_wndMarquee.SetText(Text("IDS_TBX_PVX_Recording_Failed__Please_Try_Again___"));
            pBar->m_wndMarquee.StartScrolling(1);
        }
        return;
    }
    CloseAVIFiles();
    CView* pView = LiveView(m_pModel);
    if (m_hMCIWnd) {
        if (::IsWindow(m_hMCIWnd)) MCIWndDestroy(m_hMCIWnd);
        m_hMCIWnd = nullptr;
    }
    if (pView) {
        m_hMCIWnd = MCIWndCreate(pView->GetSafeHwnd(), AfxGetInstanceHandle(), kPlayerStyle, m_strFinalPath);
        if (!m_bTimer0) pView->SetTimer(TIMER_PLAY, 250, nullptr);
        if (!m_bTimer1) pView->SetTimer(TIMER_SLIDER, 10, nullptr);
        m_bTimer0 = m_bTimer1 = 1;
    }
    if (pBar) pBar->ShowTitle();
    m_nPlayState = PLAY_NORMAL;
    if (pBar && pBar->GetSafeHwnd()) {
        int lo = 0, hi = 0;
        if (pBar->m_wndProgress.GetSafeHwnd()) pBar->m_wndProgress.GetRange(lo, hi);
        pBar->ShowSlider();
        if (pBar->m_wndSlider.GetSafeHwnd()) {
            pBar->m_wndSlider.SetRange(lo, hi, FALSE);
            pBar->m_wndSlider.SetPageSize(hi / 2 > 0 ? hi / 2 : 1);
            pBar->m_wndSlider.SetPos(0);
        }
    }
}

void CAnimationEngine::CloseAVIFiles() {
    if (m_pTempStream) AVIStreamRelease(m_pTempStream);
    m_pTempStream = nullptr;
    if (m_pFinalStream) AVIStreamRelease(m_pFinalStream);
    m_pFinalStream = nullptr;
    if (m_pCompStream) AVIStreamRelease(m_pCompStream);
    m_pCompStream = nullptr;
    if (m_pTempFile) AVIFileRelease(m_pTempFile);
    m_pTempFile = nullptr;
    if (!m_strTempPath.IsEmpty()) std::remove(m_strTempPath.GetString());
    if (m_pFinalFile) AVIFileRelease(m_pFinalFile);
    m_pFinalFile = nullptr;
    if (m_nAviOpens > 0) {
        AVIFileExit();
        --m_nAviOpens;
    }
    if (m_pRenderDC && m_hOldRenderBitmap) ::SelectObject(m_pRenderDC->GetSafeHdc(), m_hOldRenderBitmap);
    m_hOldRenderBitmap = nullptr;
    delete m_pRenderBitmap;
    m_pRenderBitmap = nullptr;
    if (m_pFrameDC && m_hOldFrameBitmap) ::SelectObject(m_pFrameDC->GetSafeHdc(), m_hOldFrameBitmap);
    m_hOldFrameBitmap = nullptr;
    if (m_hDIBSection) ::DeleteObject(m_hDIBSection);
    m_hDIBSection = nullptr;
    m_pFrameBits = nullptr;
    delete[] reinterpret_cast<BYTE*>(m_pFrameFormat);
    m_pFrameFormat = nullptr;
    delete m_pRenderDC;
    m_pRenderDC = nullptr;
    delete m_pFrameDC;
    m_pFrameDC = nullptr;
}

DWORD CAnimationEngine::FindDefaultCompressor() {
    struct Found {
        std::string description;
        DWORD fccHandler;
    };
    std::vector<Found> found;
    ICINFO info;
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        HIC hic = ICOpen(info.fccType, info.fccHandler, ICMODE_QUERY);
        if (!hic) continue;
        if (ICGetInfo(hic, &info, sizeof(info)) > 0) {
            std::string text;
            for (const WCHAR* p = info.szDescription; *p; ++p) afxutf8::Append(text, static_cast<uint32_t>(*p));
            found.push_back({text, info.fccHandler});
        }
        ICClose(hic);
    }
    static const char* const kPreferred[3] = {"Microsoft Video 1", "", ""};
    for (const char* want : kPreferred)
        for (const Found& f : found)
            if (f.description == want) {
                m_bCompress = 1;
                return f.fccHandler;
            }
    m_bCompress = 0;
    ::MessageBox(nullptr, Text("IDS_TBX_PVX_Warning__the_Animation_Engine_failed_to_"), nullptr, MB_OK | MB_ICONWARNING);
    return 0;
}

void CAnimationEngine::InitCompressOptions() {
    if (FindDefaultCompressor() == 0) return;
    m_CompressOptions = AVICOMPRESSOPTIONS{};
    m_CompressOptions.fccType = 0;
    m_CompressOptions.fccHandler = FindDefaultCompressor();
    m_CompressOptions.dwKeyFrameEvery = 0;
    m_CompressOptions.dwQuality = 10000;
    m_CompressOptions.dwBytesPerSecond = 0;
    m_CompressOptions.dwFlags = AVICOMPRESSF_VALID;
    m_CompressOptions.lpFormat = 0;
    m_CompressOptions.cbFormat = 0;
    m_CompressOptions.lpParms = 0;
    m_CompressOptions.cbParms = 4;
    m_CompressOptions.dwInterleaveEvery = 0;
}

int CAnimationEngine::ChooseCompressor(AVICOMPRESSOPTIONS& opts) {
    const CString strProbe = PreferenceTempDir() + "~CHSCMPSR.AVI";
    if (!OpenAVIFile(strProbe)) {
        CloseAVIFiles();
        std::remove(strProbe.GetString());
        return 0;
    }
    PAVISTREAM streams[1] = {m_pFinalStream};
    LPAVICOMPRESSOPTIONS choices[1] = {&opts};
    AVISaveOptions(nullptr, 0, 1, streams, choices);
    const int bParms = opts.lpParms != 0 ? 1 : 0;
    CloseAVIFiles();
    std::remove(strProbe.GetString());
    return bParms;
}
