// CPVXPostCtrl: holder of the node, element and wall tables of the post database for one
// result model (I_PVXModel::GetPostCtrl).
//
// It binds none of its tables itself; whoever uses a table connects it first. The deformation
// engine asks IsValidDispData for every displacement record it collects.
#pragma once

#include "host/db/DBResultRecords.h"
#include "host/db/DBTables.h"

class CPVXPostCtrl {
public:
    CPVXPostCtrl();
    virtual ~CPVXPostCtrl();
    CPVXPostCtrl(const CPVXPostCtrl&) = delete;
    CPVXPostCtrl& operator=(const CPVXPostCtrl&) = delete;

    // Every displacement record is usable.
    BOOL IsValidDispData(UINT loadKey, UINT nodeKey, T_DISP_D* pDisp) const;

    CClassPNode m_node;
    CClassPElem m_elem;
    CClassPWall m_wall;
};
