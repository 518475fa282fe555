// CReactionEngine: the result engine of support reactions (arrows, numbers, reaction contour).
//
// InitEngine builds the reactions for the model's load selection (mode -1 takes the bars'
// current display mode) and sets m_bDataReady; ImportEngine copies another engine's settings
// and built data.
#pragma once

#include "module/engines/CEngineBase.h"
#include "platform/afx/CString.h"

class CDeformEngine;

class CReactionEngine : public CEngineBase {
public:
    explicit CReactionEngine(I_PVXModelBase* pModel);
    ~CReactionEngine() override;

    // Non-zero when the data are built.
    int InitEngine(CDeformEngine* pDeform, int nMode);
    void ImportEngine(CReactionEngine* pSrc);
    using CEngineBase::ImportEngine;

    // Plot draw of one render; -1 without a plot engine.
    int DrawReactionValueNew(CDC* pDC);
    void OutputNumbersNew();
    void DrawPickedNodes(CDC* pDC);

    int m_bDataReady;               // data built for the current selection
    int m_nMode;                    // display mode the data were built for
    CArray<UINT, UINT> m_arrPickedNode;  // emptied by a redraw request
    int m_nComponent;               // 0 FX, 1 FY, 2 FZ, 3 resultant force, 4 MX, 5 MY, 6 MZ, 7 resultant moment
    double m_dMaxValue, m_dMinValue;
    UINT m_nMaxNode, m_nMinNode;    // nodes of the largest and smallest value
    CString m_strMaxLoadCase;       // load case of the largest value (figure legend)
    CString m_strMinLoadCase;       // load case of the smallest value (figure legend)
    int m_nSupportType;             // 1 piles
    int m_nContourQuantity;         // 0 or 1
};
