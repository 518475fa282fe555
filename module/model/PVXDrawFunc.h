// The deferred overlay queues: one functor class per kind of overlay, each holding a list of
// records of the template T_Draw for its kind.
//
// Numbers and markers that belong on top of the 3-D picture are queued during the 3-D pass and
// drawn after it in screen space, so that they lie above every diagram, contour and member and
// their text can follow the member on screen. A producer pushes records on one queue of the
// model's set (CPVXDrawFuncArray); the render path runs the set (DrawAll, which leaves the
// records queued) and then clears it (ClearAll), so a record is drawn once per picture.
//
//     pModel->m_pDrawFuncArray->m_OutputSfdBmdNumber.Push(anchor, axis, 6, value);
//     ...
//     pModel->m_pDrawFuncArray->DrawAll(pDC, pModel);
//     pModel->m_pDrawFuncArray->ClearAll();
//
// World points are mapped to the device with the model's graphics control: the window transform
// while the model draws straight to a device (its external-device switch), the memory-image
// transform otherwise. A point with a negative device coordinate is off-screen; overlay text
// there is skipped without a message. Angles are in tenths of a degree, 0 to 3599.
#pragma once

#include "platform/afx/CList.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"
#include "platform/gdi/afxgdi.h"

class I_PVXModel;

// Base of every queued record; a queue deletes its records through it.
struct T_Draw_Base {
    virtual ~T_Draw_Base() = default;
};

// The record of one functor kind F (specialised per kind below).
template <class F>
struct T_Draw;

// Record layout of the number kinds: the member's axis (direction of the text), the world point
// at which the text stands, the value and the label kind 0 to 8.
struct T_DrawNumberRec : T_Draw_Base {
    double m_dAxis1[3];   // first axis point, world
    double m_dAxis2[3];   // second axis point, world
    double m_dAnchor[3];  // where the text stands, world
    double m_dValue;
    int m_nKind;          // label kind 0 to 8
};

// The abstract functor: a queue of one kind of overlay.
class Func_PVX_DrawBase {
public:
    Func_PVX_DrawBase() : m_pModel(nullptr) {}
    virtual ~Func_PVX_DrawBase() = default;
    Func_PVX_DrawBase(const Func_PVX_DrawBase&) = delete;
    Func_PVX_DrawBase& operator=(const Func_PVX_DrawBase&) = delete;

    // Draws every queued record, head to tail, on the device context; the records stay queued.
    // Nothing is drawn without a device context or a model with a graphics control and options.
    virtual void DrawAll(CDC* pDC) = 0;
    // Deletes every queued record.
    virtual void Clear() = 0;
    virtual INT_PTR GetCount() const = 0;

    I_PVXModel* m_pModel;  // set by the queue set before each run; borrowed
};

// A queue of records of kind F; F supplies `static void Draw(T_Draw<F>&, CDC*, I_PVXModel*)`.
template <class F>
class Func_PVX_DrawQueue : public Func_PVX_DrawBase {
public:
    typedef T_Draw<F> Record;

    Func_PVX_DrawQueue() : m_list(10) {}
    ~Func_PVX_DrawQueue() override { Clear(); }

    void DrawAll(CDC* pDC) override;
    void Clear() override {
        for (POSITION pos = m_list.GetHeadPosition(); pos;) delete m_list.GetNext(pos);
        m_list.RemoveAll();
    }
    INT_PTR GetCount() const override { return m_list.GetCount(); }
    // Appends a record made with new; the queue owns it from now on. Null is ignored.
    void AddRecord(Record* pRecord) {
        if (pRecord) m_list.AddTail(pRecord);
    }
    CList<Record*, Record*>& GetList() { return m_list; }

protected:
    CList<Record*, Record*> m_list;  // queued records, owned
};

// Whether the queues can be drawn with this model: it has a graphics control and options.
int PVXDrawFuncCanDraw(const I_PVXModel* pModel);

template <class F>
void Func_PVX_DrawQueue<F>::DrawAll(CDC* pDC) {
    if (!pDC || !PVXDrawFuncCanDraw(m_pModel)) return;
    for (POSITION pos = m_list.GetHeadPosition(); pos;) {
        Record* pRecord = m_list.GetNext(pos);
        if (pRecord) F::Draw(*pRecord, pDC, m_pModel);
    }
}

// Declares functor class NAME with its record T_Draw<NAME> holding the fields given.
#define PVX_DECLARE_DRAW_FUNC(NAME, FIELDS)                                   \
    class NAME;                                                               \
    template <>                                                               \
    struct T_Draw<NAME> : T_Draw_Base {                                       \
        FIELDS                                                                \
    };                                                                        \
    class NAME : public Func_PVX_DrawQueue<NAME> {                            \
    public:                                                                   \
        static void Draw(T_Draw<NAME>& rec, CDC* pDC, I_PVXModel* pModel);    \
    };

// ---- the two kinds the force engine fills ---------------------------------------------------

class Func_OutputSfdBmdNumber;
class Func_OutputSlabNumber;
template <>
struct T_Draw<Func_OutputSfdBmdNumber> : T_DrawNumberRec {};
template <>
struct T_Draw<Func_OutputSlabNumber> : T_DrawNumberRec {};

// Numbers of member force diagrams, written along the member.
class Func_OutputSfdBmdNumber : public Func_PVX_DrawQueue<Func_OutputSfdBmdNumber> {
public:
    // Queues one number: anchor (x, y, z), axis (first point then second point, six doubles),
    // label kind and value. Null points or a failed allocation queue nothing.
    void Push(const double* pAnchor, const double* pAxis, int nKind, double dValue);
    static void Draw(T_Draw<Func_OutputSfdBmdNumber>& rec, CDC* pDC, I_PVXModel* pModel);
};

// Numbers of slab, slab-member and wall results; kinds 6 and 7 take their vertical alignment
// from the kind and carry one further blank on each side.
class Func_OutputSlabNumber : public Func_PVX_DrawQueue<Func_OutputSlabNumber> {
public:
    void Push(const double* pAnchor, const double* pAxis, int nKind, double dValue);
    static void Draw(T_Draw<Func_OutputSlabNumber>& rec, CDC* pDC, I_PVXModel* pModel);
};

// Draws one number record (both kinds above); bSlab selects the slab rule of kinds 6 and 7.
// Exposed for the queues and their tests.
void PVXDrawNumberRecord(const T_DrawNumberRec& rec, CDC* pDC, I_PVXModel* pModel, int bSlab);
// Text angle of a line between two device points and whether it was turned by 180 degrees to
// stay readable: a in 0..3599, never in 901..2700.
int PVXCalcTextAngle(POINT pt1, POINT pt2, int& bTurned);
// A member whose two device points lie within a pixel of each other is seen end-on (a column in
// plan): its numbers share one anchor point.
bool PVXIsSeenEndOn(POINT pt1, POINT pt2);

// ---- kinds that no producer of this system fills --------------------------------------------
// Their records are kept, drawn (where a drawing is given) and cleared with the set.

PVX_DECLARE_DRAW_FUNC(Func_OutputCutLineNumber,
                      double m_dPoint[3]; double m_dValue;)
PVX_DECLARE_DRAW_FUNC(Func_DrawPoint,
                      double m_dPoint[3]; int m_nSize; COLORREF m_crColor; int m_bSquare;)
PVX_DECLARE_DRAW_FUNC(Func_DrawCrossLine,
                      double m_dPoint[3]; int m_nSize; int m_nStyle;)
PVX_DECLARE_DRAW_FUNC(Func_DrawPositionWidget,
                      double m_dPoint[3]; int m_nSize;)
PVX_DECLARE_DRAW_FUNC(Func_DrawInflLineMinWidget,
                      double m_dPoint[3]; int m_nSize; COLORREF m_crColor;)
PVX_DECLARE_DRAW_FUNC(Func_DrawInflLineMaxWidget,
                      double m_dPoint[3]; int m_nSize; COLORREF m_crColor;)
PVX_DECLARE_DRAW_FUNC(Func_DrawInflLineMinWidget2,
                      double m_dPoint[3]; int m_nSize; COLORREF m_crColor;)
PVX_DECLARE_DRAW_FUNC(Func_DrawInflLineMaxWidget2,
                      double m_dPoint[3]; int m_nSize; COLORREF m_crColor;)
PVX_DECLARE_DRAW_FUNC(Func_DrawOutputNumberOn2DPoint,
                      double m_dPoint[3]; double m_dValue; int m_nOffset; int m_bUpright;)
PVX_DECLARE_DRAW_FUNC(Func_DrawMvltrcPointLoadWidget,
                      double m_dPoint1[3]; double m_dPoint2[3]; int m_nSize; COLORREF m_crColor;)
PVX_DECLARE_DRAW_FUNC(Func_DrawMvltrcDistLoadWidget,
                      double m_dPoint[3]; int m_nRadius; COLORREF m_crColor;)
PVX_DECLARE_DRAW_FUNC(Func_DrawOutputStringOn2DPoint,
                      double m_dPoint[3]; CString m_strText; int m_nOffset; int m_bUpright;)
PVX_DECLARE_DRAW_FUNC(Func_DrawDashLine3DOnClientWindow,
                      double m_dPoint1[3]; double m_dPoint2[3];)
// Member texts: the member's points, up to four texts with their show switches and a side code.
#define PVX_MEMBER_TEXT_FIELDS \
    double m_dPoints[4][3]; int m_nPoints; CString m_strText[4]; int m_bShow[4]; int m_nSide;
PVX_DECLARE_DRAW_FUNC(Func_DrawMbDgrmBeamDataByMember, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawMbDgrmBeamData, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawMbDgrmColmDataByMember, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawMbDgrmColmData, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawMbDgrmBrceDataByMember, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawMbDgrmBrceData, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawMbDgrmWallData, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawBeamRebar, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawBrceRebar, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawWallRebar, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawSTBeamCodeChk, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawColmRebar, PVX_MEMBER_TEXT_FIELDS)
PVX_DECLARE_DRAW_FUNC(Func_DrawSTColmCodeChk, PVX_MEMBER_TEXT_FIELDS)
#undef PVX_MEMBER_TEXT_FIELDS
PVX_DECLARE_DRAW_FUNC(Func_OutputDgrmNumber,
                      double m_dAxis1[3]; double m_dAxis2[3]; double m_dAnchor[3]; double m_dValue; int m_nKind;
                      int m_bOwnColor; COLORREF m_crColor;)
PVX_DECLARE_DRAW_FUNC(Func_DrawIconUCS,
                      double m_dPoint1[3]; double m_dPoint2[3];)

#undef PVX_DECLARE_DRAW_FUNC
