// CFigureDesignData: the design result engine of the plan figures.
//
// The host constructs it with a model; it builds and draws per-member design results and reads
// the model's activation switch. The model does not own it.
#pragma once

#include "engines/CEngineBase.h"

class I_PVXModel;

class CFigureDesignData : public CEngineBase {
public:
    explicit CFigureDesignData(I_PVXModel* pModel);
    ~CFigureDesignData() override;
};
