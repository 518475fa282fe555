// CAnimationEngine: the animation state of one result model.
//
// Each I_PVXModel embeds one engine and sets its back-pointer. While frames are recorded every
// result engine scales its displayed amplitude by the engine's frame factor (GetAnimationFactor);
// the frames go to a temporary AVI file, are copied in cycle order into the film reserved on
// entering animation mode (~PVXnnn.AVI in the preference temporary folder), and a media window
// plays the film over the view. The view's animation commands and timers read and change the
// play state and the flags kept here, and drive the tool bar's marquee and slider.
//
//   engine.EnterAnimationMode();   // film name reserved, bar shown with the press-record prompt
//   view command 42023             // model's animation flag set, RecordAnimation()
//   engine.ExitAnimationMode();    // playback stopped, bar hidden, film deleted
//
// The mode operations and the frame factor are in CAnimationEngine.cpp and
// CAnimationEngineFactor.cpp; recording, playback and the compressor in the AVI files of this
// class. Related: CAniCtrlBar (tool bar), CPVXAnimDetDlg (options dialog).
#pragma once

#include <functional>

#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"
#include "platform/video/vfw.h"

class I_PVXModel;
class CAniCtrlBar;
class CDC;
class CBitmap;

class CAnimationEngine {
public:
    // Play states of the recorded film.
    enum { PLAY_STOPPED = 0, PLAY_PAUSED = 1, PLAY_RESUME = 2, PLAY_NORMAL = 3, PLAY_FAST = 4, PLAY_REVERSE = 5 };
    // View timers of playback.
    enum { TIMER_PLAY = 0, TIMER_SLIDER = 1 };
    // Film names tried in the temporary folder: ~PVX100.AVI .. ~PVX999.AVI.
    static constexpr int kFirstFilmNumber = 100;
    static constexpr int kLastFilmNumber = 999;

    CAnimationEngine();
    virtual ~CAnimationEngine();
    CAnimationEngine(const CAnimationEngine&) = delete;
    CAnimationEngine& operator=(const CAnimationEngine&) = delete;

    // Records the frames of the current display and starts playback.
    void RecordAnimation();
    // Stops playback: timers off, streams closed, the model's animation flag and the recording
    // flags cleared, media window closed, the bar's progress control shown at 0.
    void StopAnimation();
    // As StopAnimation, and leaves animation mode: bar hidden, the reserved film deleted, the
    // model's legend rectangle reset.
    void ExitAnimationMode();
    // Enters animation mode, or enters it again: whatever film an earlier entry reserved or
    // recorded is released first, a fresh film name is reserved and the bar asks for a
    // recording. When no name can be reserved the film path stays empty (a recording then
    // fails with its message) and nothing in the folder is touched.
    void EnterAnimationMode();
    // What every option dialog and apply does after its settings are in: enter animation mode
    // when the model's animation flag is set, else leave it when it was entered or its bar shown.
    void ApplyAnimationModeRule();

    // Frame factor of the frame being recorded: 1.0 unless the model's animation flag and the
    // recording flag are set and the load has an amplitude. Over frames k = 0 .. 4N+3 (N frames
    // per half cycle) it runs 0 -> 1, 1 -> 0, then 0 -> -1, -1 -> 0 for bSigned 0 (the deformed
    // shape swings both ways) or 0 -> 1, 1 -> 0 again for bSigned non-zero (diagrams and
    // contours keep their sign).
    double GetAnimationFactor(int bSigned) const;
    // The factor of contour values: the positive wave when contours are animated, else 1.0.
    double GetContourFactor() const { return m_bAnimateContour ? GetAnimationFactor(1) : 1.0; }

    // The settings as the arithmetic may use them: a record read from an old archive may hold 0
    // or a negative count, which would divide by zero.
    int FramesPerHalfCycle() const { return m_nFramesPerHalfCycle < 1 ? 1 : m_nFramesPerHalfCycle; }
    int FramesPerSecond() const { return m_nFramesPerSecond < 1 ? 1 : m_nFramesPerSecond; }
    // Frames of the film: 2N + 2 for a half cycle, 4N + 3 for a full one.
    int FilmFrameCount() const { return m_bFullCycle ? 4 * FramesPerHalfCycle() + 3 : 2 * FramesPerHalfCycle() + 2; }
    // Frames rendered into the temporary file: N + 1, or 2N + 1 for a full cycle.
    int RenderedFrameCount() const { return m_bFullCycle ? 2 * FramesPerHalfCycle() + 1 : FramesPerHalfCycle() + 1; }

    // ---- recording and playback (the AVI files of this class) --------------------------------
    // Creates the bar's window on the view's frame, or shows it again.
    void CreateAnimationToolBar();
    // Releases the streams, files and drawing surfaces of a recording; deletes the temporary file.
    void CloseAVIFiles();
    // Finds the preferred compressor and fills the compress options with it.
    void InitCompressOptions();
    // The options dialog's compressor button: the platform's compression dialog on opts. 1 when
    // opts then carry compressor parameters.
    int ChooseCompressor(AVICOMPRESSOPTIONS& opts);
    // Prepares the frame surfaces and both films (temporary and final) with their streams; 0 on
    // any failure, told to the user. OpenAVIFile does the same for one film at pszPath, held
    // where the final film is.
    BOOL OpenAVIFiles();
    BOOL OpenAVIFile(const char* pszPath);
    // Renders the frames into the temporary film, then writes them in cycle order to the final
    // one; Escape ends either phase early (see the recorder's file).
    void RecordFrames();
    // Plays the recorded film in a media window over the view, or reports a failed recording.
    void StartPlayback();
    // The handler of the first installed compressor the engine prefers, else 0 after a warning.
    DWORD FindDefaultCompressor();
    // The preference temporary folder (ends in '/'), empty when there is no document.
    CString PreferenceTempDir() const;
    // ~PVX123.AVI -> ~PVX123TMP.AVI: the final path less its trailing '.', 'A', 'V', 'I'
    // characters, with "TMP.AVI" added.
    static CString TempPathOf(const CString& strFinalPath);
    // Film sample i of a cycle comes from rendered frame SourceFrame(i, N).
    static int SourceFrame(int i, int N);

    // Renders frame k into the render DC instead of the model (tests stand a painter in).
    std::function<void(CDC* pDC, int k)> m_fnRenderFrame;
    // Recording state: surfaces, films and streams, each null when not open.
    CDC* m_pFrameDC = nullptr;          // holds the frame DIB section
    CDC* m_pRenderDC = nullptr;         // compatible with the view; each frame is rendered here
    CBitmap* m_pRenderBitmap = nullptr;
    HGDIOBJ m_hOldRenderBitmap = nullptr;
    HGDIOBJ m_hOldFrameBitmap = nullptr;
    HBITMAP m_hDIBSection = nullptr;
    BITMAPINFO* m_pFrameFormat = nullptr;  // header and 256 colours (40 + 1024 bytes), owned
    void* m_pFrameBits = nullptr;          // pixels of the DIB section
    PAVIFILE m_pTempFile = nullptr;
    PAVIFILE m_pFinalFile = nullptr;
    int m_nAviOpens = 0;                   // unmatched AVIFileInit calls
    AVISTREAMINFO m_StreamInfo{};
    PAVISTREAM m_pTempStream = nullptr;
    PAVISTREAM m_pFinalStream = nullptr;
    PAVISTREAM m_pCompStream = nullptr;
    // Word i (0 .. 10) of the compress options, in the order the bars' settings archive keeps.
    DWORD& CompressWord(int i);

    I_PVXModel* m_pModel;           // owning model, not owned
    CAniCtrlBar* m_pAniCtrlBar;     // tool bar object, owned; its window is created on demand
    HWND m_hMCIWnd;                 // media playback window; null when none
    CString m_strFinalPath;         // the film this engine reserved; empty when none
    CString m_strTempPath;          // temporary frame file, empty when none
    int m_bCompress;                // write the final stream through a compressor
    int m_nBitsPerPixel;            // 8, 16 or 24
    int m_nFramesPerHalfCycle;      // N; read it through FramesPerHalfCycle()
    int m_nFramesPerSecond;         // read it through FramesPerSecond()
    int m_nCurFrame;                // frame being rendered
    int m_nPlayState;               // PLAY_*
    int m_bRecording;               // frames are being rendered
    int m_bRecorded;                // a recording exists and can be played back
    int m_bAnimationMode;           // ready to record (animation mode entered)
    int m_bAnimateContour;          // contour values follow the frame factor too
    int m_bFullCycle;               // 0 repeat half cycle, 1 full cycle
    int m_bTimer0;                  // playback timer 0 running
    int m_bTimer1;                  // playback timer 1 running
    AVICOMPRESSOPTIONS m_CompressOptions;  // the compressor's options of the film stream

private:
    // Playback timers off, recording closed, media window closed: the part of stopping that
    // leaves the flags alone.
    void StopPlaybackWindow();
    // Deletes the film this engine reserved and forgets its name.
    void ReleaseFinalFile();
    // Reserves the first free ~PVXnnn.AVI in the preference temporary folder; FALSE (path
    // empty) when none can be created.
    BOOL ReserveFinalFile();
};
