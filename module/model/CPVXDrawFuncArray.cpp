#include "module/model/CPVXDrawFuncArray.h"

CPVXDrawFuncArray::CPVXDrawFuncArray() {
    Func_PVX_DrawBase* const funcs[] = {
        &m_OutputCutLineNumber,        &m_DrawPoint,
        &m_DrawCrossLine,              &m_DrawPositionWidget,
        &m_DrawInflLineMinWidget,      &m_DrawInflLineMaxWidget,
        &m_DrawInflLineMinWidget2,     &m_DrawInflLineMaxWidget2,
        &m_DrawOutputNumberOn2DPoint,  &m_DrawMvltrcPointLoadWidget,
        &m_DrawMvltrcDistLoadWidget,   &m_OutputSfdBmdNumber,
        &m_DrawOutputStringOn2DPoint,  &m_DrawDashLine3DOnClientWindow,
        &m_DrawMbDgrmBeamDataByMember, &m_DrawMbDgrmBeamData,
        &m_DrawMbDgrmColmDataByMember, &m_DrawMbDgrmColmData,
        &m_DrawMbDgrmBrceDataByMember, &m_DrawMbDgrmBrceData,
        &m_DrawMbDgrmWallData,         &m_DrawBeamRebar,
        &m_DrawBrceRebar,              &m_DrawWallRebar,
        &m_DrawSTBeamCodeChk,          &m_DrawColmRebar,
        &m_DrawSTColmCodeChk,          &m_OutputDgrmNumber,
        &m_DrawIconUCS,                &m_OutputSlabNumber,
    };
    for (Func_PVX_DrawBase* p : funcs) m_arrFuncs.Add(p);
}

// The queues are members: they are destroyed after this body, in reverse order, each deleting
// the records it still holds.
CPVXDrawFuncArray::~CPVXDrawFuncArray() {
    ClearFunctors();
    m_arrFuncs.RemoveAll();
}

void CPVXDrawFuncArray::DrawAll(CDC* pDC, I_PVXModel* pModel) {
    for (INT_PTR i = 0; i < m_arrFuncs.GetSize(); ++i) {
        Func_PVX_DrawBase* pFunc = m_arrFuncs[i];
        pFunc->m_pModel = pModel;
        pFunc->DrawAll(pDC);
    }
}

void CPVXDrawFuncArray::ClearAll() {
    for (INT_PTR i = 0; i < m_arrFuncs.GetSize(); ++i) m_arrFuncs[i]->Clear();
}

void CPVXDrawFuncArray::ClearFunctors() { ClearAll(); }

INT_PTR CPVXDrawFuncArray::GetQueuedCount() const {
    INT_PTR n = 0;
    for (INT_PTR i = 0; i < m_arrFuncs.GetSize(); ++i) n += m_arrFuncs[i]->GetCount();
    return n;
}
