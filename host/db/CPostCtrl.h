// The result controller: selects a load (case, combination, envelope) or a mode and answers
// result queries for the selection.
//
//     T_PLCOM_D lc;
//     if (post->MakeLoadComb(type, key, lc)) post->SelectLoadComb(lc, step != 0, 0);
//     T_REAC_D r;
//     if (post->GetReac(node, &r, nullptr, nullptr)) ...
//
// Every result query takes a key and three record pointers (slots); null slots are skipped.
// For a plain load (a case or a linear combination) every given slot receives its value. For
// an envelope combination slot 0 receives the maximum, slot 1 the minimum and slot 2, value by
// value, whichever of the two has the larger magnitude. Callers pick the slot by their load
// step: 0 (value) and 1 (maximum) slot 0, 2 (minimum) slot 1, 3 (all) slot 2. A query returns
// non-zero only when the key has results for the selected load; otherwise the records are
// left unchanged. While a mode is selected only displacements answer (the mode shape).
//
// Load type codes of MakeLoadComb: 1 static case, 2 dynamic case, 4 settlement case, 5 (or 3)
// time-history case (key = load case key); 9, 10, 11 load combination and 12 envelope
// combination (key = combination key). A time-history case selected with SelectThlc also
// answers GetDispHistory step by step.
#pragma once

#include "host/db/DBTables.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>

class CPostCtrl {
public:
    explicit CPostCtrl(CDataBase* pDB = nullptr) : m_pDB(pDB) { m_lcom.Initialize(); }
    virtual ~CPostCtrl() = default;

    void SetDataBase(CDataBase* pDB);
    CDataBase* GetDataBase() const { return m_pDB; }

    // Load selection. MakeLoadComb fills rec and returns non-zero when the load exists (type
    // 12 also asks that the combination be an envelope); otherwise rec is unchanged.
    // SelectLoadComb refuses (0) a record without terms and then clears the selection.
    // SelectMode selects the mode in any case and returns non-zero when it has eigen results.
    int MakeLoadComb(UINT type, UINT key, T_PLCOM_D& rec) const;
    int SelectLoadComb(const T_PLCOM_D& rec, int envelope, int);
    int SelectMode(int mode, int);
    // Selects a time-history case (as a load, and for GetDispHistory); 0 when the case is
    // not a time-history case of the database.
    int SelectThlc(UINT caseKey);
    // Forgets the selection; queries return 0 until the next selection.
    void ClearSelection();
    BOOL IsLoadSelected() const { return m_nSel == SEL_LOAD; }
    BOOL IsModeSelected() const { return m_nSel == SEL_MODE; }
    int GetSelectedMode() const { return m_nMode; }
    BOOL IsEnvelopeSelected() const { return m_bEnvelope; }
    const T_PLCOM_D& GetSelectedLoadComb() const { return m_lcom; }

    // Results of the selected load, three slots as described above.
    int GetDisp(UINT node, T_DISP_D* p0, T_DISP_D* p1, T_DISP_D* p2) const;
    // The displacement records of the selected load when it is one load case taken once: every
    // node's GetDisp is then its record with each value v read as v + 0 (the sum a combination
    // makes: a stored -0 reads 0). Null for anything else (a mode, a combination of several
    // loads or with a factor, an envelope) or when the case has no displacements.
    std::shared_ptr<const pvxdb::KeyedRecords<T_DISP_D>> GetDispLoad() const;
    int GetReac(UINT node, T_REAC_D* p0, T_REAC_D* p1, T_REAC_D* p2) const;
    int GetStrp_L(UINT elem, T_STRP_DL* p0, T_STRP_DL* p1, T_STRP_DL* p2, int) const;
    int GetMbgd(UINT memb, T_STRG_D* p0, T_STRG_D* p1, T_STRG_D* p2, int) const;
    int GetStwt(UINT memb, T_MBWG_D* p0, T_MBWG_D* p1, T_MBWG_D* p2, int) const;
    int GetMbcl(UINT memb, T_MBCL_D* p0, T_MBCL_D* p1, T_MBCL_D* p2, int) const;
    int GetMbbr(UINT memb, T_MBBR_D* p0, T_MBBR_D* p1, T_MBBR_D* p2, int) const;
    int GetStrw(UINT memb, T_STRW_D* p0, T_STRW_D* p1, T_STRW_D* p2, int) const;
    int GetStws(UINT key, T_STWS_D* p0, T_STWS_D* p1, T_STWS_D* p2) const;
    // Wall forces by the wall's result number (T_PWALL_D::resultNo): a wall column's blocks
    // (table MBWC) and a wall beam's eight segments (table MBWB).
    int GetMbwc(UINT resultNo, T_MBCL_D* p0, T_MBCL_D* p1, T_MBCL_D* p2, int) const;
    int GetMbwg(UINT resultNo, T_STRG_D* p0, T_STRG_D* p1, T_STRG_D* p2, int) const;
    // Story shear of a member under one load case, whatever is selected: shares of a storey's
    // shear do not add up over a combination's terms, so they are read for cases only. 0, rec
    // unchanged, when the member has no row for the case.
    int GetSsfr(UINT loadCase, UINT memb, T_SSFR_D& rec) const;
    // Design forces of a slab strip (by its key in the cutting-line table, table STRIPF) and of a
    // rib beam (by its rib number, table RIBF).
    int GetStripForce(UINT stripKey, T_CLDF_D* p0, T_CLDF_D* p1, T_CLDF_D* p2) const;
    int GetRibForce(UINT ribNo, T_CLDF_D* p0, T_CLDF_D* p1, T_CLDF_D* p2) const;

    // Turns the forces of a plate record (membrane forces, moments, transverse shears of every
    // block) from the element's own axes into target axes, in place, and recomputes the
    // principal values and angles from them. Both arguments are rows x, y, z of unit vectors.
    // The in-plane tensors are turned as tensors (N' = R N R^T with R[i][j] = target_i . own_j)
    // and the transverse shears as the out-of-plane column of the same tensor, so a target
    // that shares the element's normal is the plane rotation of the textbook formulas. 0, and
    // the record unchanged, when an axis row is not a unit vector.
    int ConvertStrpForce_UCS(const double own[3][3], const double target[3][3], T_STRP_DL& rec) const;
    // The same for the surface stresses (sxx, syy, txy of both surfaces) of every block.
    int ConvertStrpStress_UCS(const double own[3][3], const double target[3][3], T_STRP_DL& rec) const;

    // Moments of a slab member for the selected load (table SMNT). For an envelope the record
    // holds the maximum of the centre and positive side moments and the minimum of the negative
    // side moments. 0, the record unchanged, when the member has none.
    int GetSmnt(UINT memb, T_SMNT_D& rec) const;

    // Key of the load combination the host numbers `number` (from 1) among the combinations of a
    // kind: kinds 10 and 11 count the linear combinations in table order. 0 when there is none.
    UINT GetLoadCombKeyByNumber(UINT kind, UINT number) const;

    // Results of a given combination, whatever is selected.
    int GetDisp_ByLcomb(UINT node, const T_PLCOM_D& lcom, T_DISP_D& rec) const;
    int GetStrp_L_ByLcomb(UINT elem, T_STRP_DL* p0, T_STRP_DL* p1, T_STRP_DL* p2, const T_PLCOM_D& lcom, int) const;
    // Slab design forces per metre across the ends of a wall (table SWDF) for a given load.
    int GetSwdf_ByLcomb(UINT wall, const T_PLCOM_D& lcom, T_SWDF_D* p0, T_SWDF_D* p1, T_SWDF_D* p2) const;

    // Member end record (length and rigid end zones) of a member; 0, rec unchanged, when the
    // member has none. Independent of the load selection.
    int GetCfmoMemb(UINT memb, T_CFMO_D& rec) const;

    // Time history of a node at a step of the selected time-history case: kind 3 (or 0)
    // displacement, 2 velocity, 1 acceleration, as the host numbers them. 0 when there is no
    // such step.
    int GetDispHistory(int kind, int step, UINT node, T_DISP_D& rec) const;
    // Time step (s) of a node's history under the selected time-history case; step 0 is t = 0.
    int GetDispHistoryDt(UINT node, double& dt) const;

    // Eigen results.
    int GetModeCount() const;
    int GetEiMode(UINT node, int mode, T_DISP_D& rec) const;
    int GetEiFreq(int mode, T_FREQ_D& rec) const;
    int GetEiMpam(int mode, T_MPAM_D& rec) const;
    int GetEiDmse(int mode, double& ratio) const;

private:
    enum { SEL_NONE, SEL_LOAD, SEL_MODE };
    template <int ID, class T> int Query(UINT key, T* p0, T* p1, T* p2) const;
    template <int ID, class T> int QueryComb(const T_PLCOM_D& lcom, UINT key, T* p0, T* p1, T* p2) const;
    // The value of each combination met while one result is evaluated, by combination key and
    // depth: a combination named many times (64 terms at each of 8 levels) is summed once.
    template <class T> using CombMemo = std::unordered_map<uint64_t, std::pair<int, T>>;
    // 1 value, 0 no results, -1 a cyclic combination.
    template <int ID, class T> int EvalEntry(const T_PLCOM_ENTRY& e, UINT key, T& out, int depth, CombMemo<T>& memo) const;
    template <int ID, class T>
    int EvalLinear(const T_PLCOM_D& lcom, UINT key, T& out, int depth, CombMemo<T>& memo) const;
    template <int ID, class T>
    int EvalEnvelope(const T_PLCOM_D& lcom, UINT key, T& hi, T& lo, int depth, CombMemo<T>& memo) const;

    CDataBase* m_pDB;     // not owned
    int m_nSel = SEL_NONE;
    T_PLCOM_D m_lcom;     // selected load
    BOOL m_bEnvelope = FALSE;
    int m_nMode = 0;      // selected mode
    UINT m_nThlc = 0;     // selected time-history case, 0 = none
};
