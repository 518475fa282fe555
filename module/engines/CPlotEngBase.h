// CPlotEngBase: the abstract per-draw plot engine of the deformation and reaction engines.
//
// The engine makes one in BeginPlotEng for the device context of the draw and deletes it in
// EndPlotEng; in between the model's render switch asks the engine to draw, and the engine
// forwards the request with the model's display mode:
//
//     int CReactionEngine::BeginPlotEng(CDC* pDC) {
//         delete m_pPlotEngine;
//         m_pPlotEngine = new CPlotReactionEng(this, pDC);
//         return 1;
//     }
//     ... m_pPlotEngine ? m_pPlotEngine->Draw(model->m_nDisplayMode) : -1 ...
//
// A subclass constructor calls Bind(engine, dc) (nothing is bound when either is null): it
// keeps the device context, borrows the engine's colour scale and model, and points into the
// model's display options, so they are read afresh at every draw. The plot engine owns only the
// view's client DC it may open for immediate copies; everything else is borrowed.
//
// Draw returns 1 drawn, 0 nothing to draw, -1 Escape pressed or a mode this plot engine does
// not serve (nothing drawn then).
#pragma once

#include "host/grx/C3DPoint.h"
#include "host/grx/GRE_Atom.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CList.h"
#include "platform/afx/afxtypes.h"

class CDC;
class CClientDC;
class CContourEngine;
class CEngineBase;
class I_PVXModel;
struct T_PVX_DOPT_D;
struct T_PVX_DOPT_COLOR_D;
struct T_PVX_DOPT_LEGEND_D;
struct T_PVX_DOPT_NUMBER_D;

class CPlotEngBase {
public:
    CPlotEngBase();
    virtual ~CPlotEngBase();
    CPlotEngBase(const CPlotEngBase&) = delete;
    CPlotEngBase& operator=(const CPlotEngBase&) = delete;

    // ---- virtual operations, in slot order --------------------------------------------------
    // Draws the result of display mode nMode; -1 for a mode not served.
    virtual int Draw(int nMode) = 0;
    // Numbers of the result (node displacements, reactions).
    virtual int OutputNumbers(int nMode) = 0;
    // Slab deflection numbers per plate element.
    virtual int OutputSlabDeflectionNumbers(int nMode) = 0;
    // Slab deflection numbers per member.
    virtual int OutputSlabDeflectionNumbersMemb(int nMode) = 0;
    // Settlement numbers.
    virtual int OutputSettlementNumbers(int nMode) = 0;
    // Back to the empty state: device context, colour scale, model, draw state and option
    // pointers cleared (a subclass also clears its engine pointer).
    virtual void Reset();

    // ---- forwarding members -------------------------------------------------------------------
    // The undeformed model as background (I_PVXModel::PVXDrawOriginal); -1 when Escape stopped it.
    int DrawOriginal(int nFlag);
    // The objects of the listed types among keys, back to front (I_PVXCtrl::GetZSortedList).
    void GetZSortedList(CArray<int, int>& types, CArray<UINT, UINT>& keys, CArray<GRE_Atom, GRE_Atom&>& out);
    // The members among keys on the undeformed or (bDeformed) deformed shape, back to front.
    void GetZSortedMembers(CArray<UINT, UINT>& keys, int bDeformed, CArray<GRE_Atom, GRE_Atom&>& out);
    // The model's first object type id (undeformed shape; + 1 the deformed one).
    int GetFirstObjectID() const;
    int WatchEscKeyPress();
    int IsObjectInClientWindow(int nType, UINT nKey);
    int IsActiveElem(UINT nKey);
    // Line width of result lines: the model's pen factor.
    int GetPenWidth() const;
    // Drawing goes straight to the window (client-window transforms and calls).
    int IsDrawOnClientWindow() const;
    // No extra selection into the view's client DC (the model's second drawing flag).
    int IsClientDCSuppressed() const;
    int GetBarMode() const;
    // Fifth and sixth word of the display-style options: the back-face switch of plane faces and
    // the bar result option.
    int GetDisplayOptionA() const;
    int GetDisplayOptionB() const;
    // Sets the option pointers from the model's display-option block (all null for null).
    void BindDisplayOptions(T_PVX_DOPT_D* pOpt);
    // The engine base's extreme label with the number text colour of the bound options.
    void DrawMinMaxOutputValue(CDC* pDC, C3DPoint p, const char* fmt, int nKind, double dValue);
    // A face filled in one colour, its flagged edges with the DC's pen (I_PVXModel), copied to
    // the view's client DC while that is wanted.
    void DrawPolygon3DFill(CDC* pDC, CList<C3DPoint>& points, CArray<int, int>& flags, DWORD color);
    // The flagged edges of a face in the model's edge style (nOpt passed through).
    void DrawPolygonEdge(CDC* pDC, CList<C3DPoint>& points, CArray<int, int>& flags, int nOpt);
    // Back-face test of a face of n vertices.
    int IsVisibleFace(CList<C3DPoint>* pPoints, int n);
    // The model's result-display flag (results drawn over the model).
    int IsResultDisplayOn() const;
    // The view's client DC for immediate copies: null while drawing straight to a window or
    // device, while the second drawing flag is set, while animating or without a view window.
    // Opened on first use and kept for this draw.
    CDC* GetClientDC();

    // ---- fields (borrowed) --------------------------------------------------------------------
    CDC* m_pDC;                          // device context of this draw
    CContourEngine* m_pContourEngine;    // the engine's colour scale
    I_PVXModel* m_pModel;
    int m_nDrawState;                    // free for the subclass; 0 after Reset
    // Display options of the model, bound by BindDisplayOptions.
    T_PVX_DOPT_D* m_pDispOpt;            // the whole block
    T_PVX_DOPT_COLOR_D* m_pColorOpt;     // object colours (inactive, undeformed, face colours)
    int* m_pDrawStyle;                   // 1 faces, 2 hidden-line, 3 faces with edges
    int* m_pWireFrame;                   // outline switch: faces drawn as edges only
    int* m_pUndeformedWireFrame;         // undeformed outline drawn over the result
    int* m_pShading;                     // flat shading of contour faces
    T_PVX_DOPT_LEGEND_D* m_pLegendOpt;   // legend and annotation options
    T_PVX_DOPT_NUMBER_D* m_pNumberOpt;   // number output: digits, exponent, colours, fonts

protected:
    // Binds the draw to an engine and a device context; nothing when either is null.
    void Bind(CEngineBase* pEngine, CDC* pDC);

private:
    CClientDC* m_pClientDC;              // owned; see GetClientDC
    int m_bClientDCTried;
};
