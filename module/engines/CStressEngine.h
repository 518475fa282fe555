// CStressEngine: the result engine of plate principal stresses (display mode 11).
//
// InitEngine builds the stresses for the model's load selection (mode -1 takes the bars'
// current display mode) and sets m_bDataReady; ImportEngine copies another engine's settings
// and built data.
#pragma once

#include "module/engines/CEngineBase.h"

class CDeformEngine;

class CStressEngine : public CEngineBase {
public:
    explicit CStressEngine(I_PVXModelBase* pModel);
    ~CStressEngine() override;

    // Non-zero when the data are built; only display mode 11 builds anything.
    int InitEngine(CDeformEngine* pDeform, int nMode);
    void ImportEngine(CStressEngine* pSrc);
    using CEngineBase::ImportEngine;

    void DrawPStrsContour(CDC* pDC);
    void OutputPStrsNumbers(CDC* pDC);

    int m_bDataReady;               // data built for the current selection
    int m_nComponent;               // 0 SIG-XX to 7 vector
};
