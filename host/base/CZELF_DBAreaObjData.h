// CZELF_DBAreaObjData: a plan area of the foundation model (a raft) by its outline points.
#pragma once

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"

class CDataBase;

class CZELF_DBAreaObjData {
public:
    // The outline of the raft member key (MEMB type 402 with a MTSB row) from its points, the
    // repeated closing point dropped. 0, leaving the object empty, for another key or an
    // outline of fewer than three points.
    int SetData(UINT key, CDataBase* pModel, int);
    // The outline; close 1 repeats the first point at the end. 0 for an empty object.
    int GetPoly(CArray<T_POINT2D>& pts, int close = 1) const {
        if (m_Points.GetSize() < 3) return 0;
        pts = m_Points;
        if (close == 1) pts.Add(T_POINT2D(m_Points[0]));
        return 1;
    }

private:
    CArray<T_POINT2D> m_Points;
};
