// The host program's database document: the project, and the graph view it opens for the
// results module.
//
// OpenGraphView answers the module's request for its graph view: the first request makes a
// child frame of the main window holding the module's multi-graph view ("CPVXMultiGraphView",
// made by run-time class, without any header of the module) and runs its initial update; later
// requests activate that frame again. The frame's client size is m_sizeGraph. The frame is a
// child of the main frame, so it goes with it, before the module is unloaded.
#pragma once

#include "host/db/CDBDoc.h"
#include "platform/afx/afxtypes.h"

class CFrameWnd;
class CView;
struct CRuntimeClass;

// Makes a child frame of the main window, size (client pixels) large and titled, holding a view
// made by the run-time class named (derived from pBase); runs its initial update, activates it
// and keeps the frame's handle in hFrame. Null, after a message naming what, on failure.
CView* OpenHostChildView(const char* pszClassName, CRuntimeClass* pBase, LPCTSTR pszTitle, CSize size,
                         const char* pszWhat, HWND& hFrame);

class CHostDocument : public CDBDoc {
public:
    static constexpr const char* kGraphViewClassName = "CPVXMultiGraphView";

    CTitleCtrlView* OpenGraphView(LPCTSTR pszCaption) override;
    // The graph view opened, while its frame is there; null otherwise.
    CTitleCtrlView* GetGraphView() const;

    CSize m_sizeGraph{1000, 560};  // client size of the graph frame, pixels

    // The figure view ("CPVXFigureView", a CVdView made by run-time class) in a child frame of
    // the main window, m_sizeFigure large, initial update run; later requests activate it again
    // (HostFigureView.cpp). Close destroys its frame.
    static constexpr const char* kFigureViewClassName = "CPVXFigureView";
    CView* OpenFigureView(LPCTSTR pszTitle) override;
    void CloseFigureView(LPCTSTR pszTitle) override;
    // The figure view while its frame is there; null otherwise.
    CView* GetFigureView() const;
    CSize m_sizeFigure{1600, 1200};  // client size of the figure frame, pixels

private:
    HWND m_hGraphFrame = nullptr;  // a handle, never reused: a closed frame is simply not found
    HWND m_hFigureFrame = nullptr;
};
