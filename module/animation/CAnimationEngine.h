// CAnimationEngine: the animation state of one result model.
//
// Each I_PVXModel embeds one engine and sets its back-pointer. While frames are recorded every
// result engine scales its displayed amplitude by the engine's frame factor; the frames go to a
// temporary AVI file that a media window then plays over the view. The view's animation commands
// and timers read and change the play state and the flags kept here, and drive the tool bar's
// marquee and slider. The mode operations below keep the state consistent; recording to a file
// and media playback are done by the recording code of this class.
#pragma once

#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class I_PVXModel;
class CAniCtrlBar;

class CAnimationEngine {
public:
    // Play states of the recorded film.
    enum { PLAY_STOPPED = 0, PLAY_PAUSED = 1, PLAY_RESUME = 2, PLAY_NORMAL = 3, PLAY_FAST = 4, PLAY_REVERSE = 5 };
    // View timers of playback.
    enum { TIMER_PLAY = 0, TIMER_SLIDER = 1 };

    CAnimationEngine();
    virtual ~CAnimationEngine();
    CAnimationEngine(const CAnimationEngine&) = delete;
    CAnimationEngine& operator=(const CAnimationEngine&) = delete;

    // Records the frames of the current display and starts playback.
    void RecordAnimation();
    // Stops playback: timers off, streams closed, the model's animation run switch and the
    // playback flags cleared, media window closed, tool bar reset.
    void StopAnimation();
    // As StopAnimation, and leaves animation mode: not ready to record, tool bar hidden,
    // temporary file deleted, the model's legend margin reset.
    void ExitAnimationMode();
    // (Re)enters animation mode: ready to record.
    void EnterAnimationMode();
    // Frame factor of the frame being recorded: 1.0 unless the model's animation runs while
    // frames are recorded (and the load has an amplitude). Over frames k = 0 .. 4N+3 (N frames
    // per half cycle) it runs 0 -> 1, 1 -> 0, then 0 -> -1, -1 -> 0 for bSigned 0 (the deformed
    // shape swings both ways) or 0 -> 1, 1 -> 0 again for bSigned non-zero (diagrams and
    // contours keep their sign).
    double GetAnimationFactor(int bSigned) const;

    I_PVXModel* m_pModel;           // owning model, not owned
    CAniCtrlBar* m_pAniCtrlBar;     // tool bar object, owned; its window is created on demand
    HWND m_hMCIWnd;                 // media playback window; null when none
    CString m_strFinalPath;         // final AVI file, empty when none
    CString m_strTempPath;          // temporary frame file, empty when none
    int m_bCompress;                // write the final stream through a compressor
    int m_nBitsPerPixel;            // 8, 16 or 24
    int m_nFramesPerHalfCycle;
    int m_nFramesPerSecond;
    int m_nCurFrame;                // frame being rendered
    int m_nPlayState;               // PLAY_*
    int m_bRecording;               // frames are being rendered
    int m_bRecorded;                // a recording exists and can be played back
    int m_bAnimationMode;           // ready to record (animation mode entered)
    int m_bAnimateContour;          // contour values follow the frame factor too
    int m_bFullCycle;               // 0 repeat half cycle, 1 full cycle
    int m_bTimer0;                  // playback timer 0 running
    int m_bTimer1;                  // playback timer 1 running
    DWORD m_aCompressOptions[11];   // the compressor's options record of the AVI stream, as the bars keep it
};
