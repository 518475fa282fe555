// CFigureDesignData: the design result engine of the plan figures.
//
// The host constructs it with a model; it builds and draws per-member design results and reads
// the model's activation switch. The model does not own it.
#pragma once

#include "module/engines/CEngineBase.h"

class I_PVXModel;

class CFigureDesignData : public CEngineBase {
public:
    explicit CFigureDesignData(I_PVXModel* pModel);
    ~CFigureDesignData() override;

    // ACR extremes of the design results with their members; a key of 0 means no value.
    double m_dACRMax = 0.0;
    double m_dACRMin = 0.0;
    UINT m_nACRMaxKey = 0;
    UINT m_nACRMinKey = 0;
};
