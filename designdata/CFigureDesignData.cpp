#include "designdata/CFigureDesignData.h"

#include "model/I_PVXModel.h"

CFigureDesignData::CFigureDesignData(I_PVXModel* pModel) { m_pModel = pModel; }
CFigureDesignData::~CFigureDesignData() = default;
