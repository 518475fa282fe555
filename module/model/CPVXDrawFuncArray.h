// CPVXDrawFuncArray: the deferred overlay queues of one model.
//
// Labels, numbers and markers queued during the 3-D pass are kept here, one queue per kind of
// overlay (PVXDrawFunc.h), and drawn after it. The model owns one set and clears it before
// deleting it. The array lists the thirty queues in the order in which they are drawn and
// cleared: slab and wall numbers come last, over the member force numbers.
//
// The render path runs the set after each 3-D pass and clears it right after (printing and
// export included), so every queued number is drawn exactly once:
//
//     set.DrawAll(pDC, pModel);   // records stay queued
//     set.ClearAll();             // a second DrawAll now draws nothing
#pragma once

#include "module/model/PVXDrawFunc.h"
#include "platform/afx/CArray.h"

class CPVXDrawFuncArray {
public:
    CPVXDrawFuncArray();
    virtual ~CPVXDrawFuncArray();
    CPVXDrawFuncArray(const CPVXDrawFuncArray&) = delete;
    CPVXDrawFuncArray& operator=(const CPVXDrawFuncArray&) = delete;

    // For each queue in array order: hands it the model and draws its records on pDC.
    void DrawAll(CDC* pDC, I_PVXModel* pModel);
    // For each queue in array order: deletes its records. Harmless on empty queues.
    void ClearAll();
    // Drops every queued record of every queue (the same as ClearAll).
    void ClearFunctors();
    // Records queued in all queues together.
    INT_PTR GetQueuedCount() const;
    // The queues in drawing order.
    INT_PTR GetFuncCount() const { return m_arrFuncs.GetSize(); }
    Func_PVX_DrawBase* GetFunc(INT_PTR i) const { return m_arrFuncs.GetAt(i); }

    // The queues, in drawing order.
    Func_OutputCutLineNumber m_OutputCutLineNumber;
    Func_DrawPoint m_DrawPoint;
    Func_DrawCrossLine m_DrawCrossLine;
    Func_DrawPositionWidget m_DrawPositionWidget;
    Func_DrawInflLineMinWidget m_DrawInflLineMinWidget;
    Func_DrawInflLineMaxWidget m_DrawInflLineMaxWidget;
    Func_DrawInflLineMinWidget2 m_DrawInflLineMinWidget2;
    Func_DrawInflLineMaxWidget2 m_DrawInflLineMaxWidget2;
    Func_DrawOutputNumberOn2DPoint m_DrawOutputNumberOn2DPoint;
    Func_DrawMvltrcPointLoadWidget m_DrawMvltrcPointLoadWidget;
    Func_DrawMvltrcDistLoadWidget m_DrawMvltrcDistLoadWidget;
    Func_OutputSfdBmdNumber m_OutputSfdBmdNumber;        // member force numbers (force engine)
    Func_DrawOutputStringOn2DPoint m_DrawOutputStringOn2DPoint;
    Func_DrawDashLine3DOnClientWindow m_DrawDashLine3DOnClientWindow;
    Func_DrawMbDgrmBeamDataByMember m_DrawMbDgrmBeamDataByMember;
    Func_DrawMbDgrmBeamData m_DrawMbDgrmBeamData;
    Func_DrawMbDgrmColmDataByMember m_DrawMbDgrmColmDataByMember;
    Func_DrawMbDgrmColmData m_DrawMbDgrmColmData;
    Func_DrawMbDgrmBrceDataByMember m_DrawMbDgrmBrceDataByMember;
    Func_DrawMbDgrmBrceData m_DrawMbDgrmBrceData;
    Func_DrawMbDgrmWallData m_DrawMbDgrmWallData;
    Func_DrawBeamRebar m_DrawBeamRebar;
    Func_DrawBrceRebar m_DrawBrceRebar;
    Func_DrawWallRebar m_DrawWallRebar;
    Func_DrawSTBeamCodeChk m_DrawSTBeamCodeChk;
    Func_DrawColmRebar m_DrawColmRebar;
    Func_DrawSTColmCodeChk m_DrawSTColmCodeChk;
    Func_OutputDgrmNumber m_OutputDgrmNumber;
    Func_DrawIconUCS m_DrawIconUCS;
    Func_OutputSlabNumber m_OutputSlabNumber;            // slab and wall numbers (force engine)

private:
    CArray<Func_PVX_DrawBase*, Func_PVX_DrawBase*> m_arrFuncs;  // the queues above, borrowed
};
