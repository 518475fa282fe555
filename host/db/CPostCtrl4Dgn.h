// CPostCtrl4Dgn: the design-result controller: the concrete design results of beams, wall beams,
// columns, walls and slabs (tables RBEM, RCOL, RWAL, RSLB of DesignResultRecords.h) by member key.
//
//     CPostCtrl4Dgn* dgn = CPostCtrl4Dgn::GetPostCtrl4DgnPtr_ST();  // null without a document
//     T_RCOL_D col;
//     if (dgn && dgn->GetColmMaxResult(key, 0, col) && col.nKey) ...
//
// Every query returns 1 and fills the record (its key word the member key) when the member has a
// result of that kind, else 0 with the record cleared (key word 0). The kind arguments select the
// form of the result: 0 is the stored (governing) result; any other kind has no result.
// Single-threaded, like the document it reads.
#pragma once

#include "host/db/DesignResultRecords.h"
#include "platform/afx/afxtypes.h"

class CDataBase;

class CPostCtrl4Dgn {
public:
    explicit CPostCtrl4Dgn(CDataBase* pDB = nullptr) : m_pDB(pDB) {}

    // The controller of the process's document (CDBDoc::m_pDBDoc) over its post database; null
    // when there is no document or it has no database.
    static CPostCtrl4Dgn* GetPostCtrl4DgnPtr_ST();

    CDataBase* GetDataBase() const { return m_pDB; }
    void SetDataBase(CDataBase* pDB) { m_pDB = pDB; }

    // The beam's design at its nine stations as stored (beams and wall beams alike).
    int ReadConcreteDesignResultBeam(UINT key, T_RBEM_D& out, int nKind) const;
    // The beam's design by zone: block 0 the largest values over stations 0 to 2 (left end), block
    // 1 over stations 3 to 5 (middle), block 2 over stations 6 to 8 (right end), blocks 3 to 8
    // zero; the shear parts as stored. For members of type 201, 205 and 204 (GetBeamMaxResult) or
    // 210 (GetWBeamMaxResult); another member type has no result.
    int GetBeamMaxResult(UINT key, T_RBEM_D& out, int nKind) const;
    int GetWBeamMaxResult(UINT key, T_RBEM_D& out, int nKind) const;
    // The column's governing design.
    int GetColmMaxResult(UINT key, int nKind, T_RCOL_D& out) const;
    // One ratio part of the column (kind 1 to 4, see T_RCOL_D::part): out is the part, nLoad the
    // governing load case key, nBlock the station block it was taken at (0 bottom, 3 top) and
    // nKindOut the kind. 0 (outputs cleared) for another kind or a column without result.
    int GetMaxColmElseFactors(UINT key, UINT& nLoad, UINT& nBlock, UINT& nKindOut, T_RCOL_ELSE& out,
                              int nKind) const;
    int GetWallMaxResult(UINT key, int nKind, T_RWAL_D& out) const;
    int GetSlabMaxResult(UINT key, T_RSLB_D& out, int nKind) const;

private:
    // The member type of key; 0 when the member is absent.
    int MemberType(UINT key) const;

    CDataBase* m_pDB;  // not owned
};
