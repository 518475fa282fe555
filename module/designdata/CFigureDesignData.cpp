#include "module/designdata/CFigureDesignData.h"

#include "module/model/I_PVXModel.h"

CFigureDesignData::CFigureDesignData(I_PVXModel* pModel) { m_pModel = pModel; }
CFigureDesignData::~CFigureDesignData() = default;
