// CPVXBarContainerBase: the base of the module's docked result bars, and the state all bars
// share.
//
// A bar container is a form view inside the host's docking bar; its pages select a result and
// its options, and its execute step hands the result to the current view's model. The static
// members are the state shared by every bar and read by the model, the engines and the legend:
// the current display mode and result id, the container that last showed a page, the alive and
// removed switches, and the bars' editing engines (owned by the container that made them).
#pragma once

#include "platform/ui/CView.h"

class CDeformEngine;
class CEngineBase;

class CPVXBarContainerBase : public CFormView {
public:
    explicit CPVXBarContainerBase(UINT nIDTemplate);
    explicit CPVXBarContainerBase(LPCTSTR lpszTemplateName);
    ~CPVXBarContainerBase() override;

    // Deletes the editing engine of the current result kind (and its colour scale).
    static void DestroyCurrentEngine();
    // Deletes the editing deformation engine.
    static void DestroyDeformEngine();

    static int m_nCurrentMode;                 // bars' display mode (0..70), -1 none
    static int m_nCurChildDlg;                 // index of the current page, -1 none
    static int m_nCurrentTMMode;               // bars' result id (7101 ...), -1 none
    static CPVXBarContainerBase* m_pMyself;    // container that last showed a page; null when none
    static int m_bRemove;                      // 1 after a container was destroyed
    static int m_bIsPVXBarAlive;               // 1 while a container exists
    static CDeformEngine* m_pDeformEngine;     // editing deformation engine, or null
    static CEngineBase* m_pCurrentEngine;      // editing reaction, force or stress engine, or null

    CView* m_pView;                            // the result view current at construction, not owned
    int m_bRebuildMBR;                         // rebuild bounding boxes and picking tree after a hand-over
};
