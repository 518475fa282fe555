// Fills a post database in code: for tests, benchmarks and the sample-project generator.
//
//     PostDBBuilder b;
//     b.AddNode(1, 0, 0, 0);  b.AddNode(2, 6, 0, 0);
//     b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2}, matl, sect);
//     b.AddMemb(1, 201, {1, 2}, {1});
//     b.AddLoadCase(1, PLOAD_STATIC, "恒载");
//     b.AddDisp(1, 2, disp);                       // load case 1, node 2
//     b.Save("/path/project.pvxdb");               // and/or b.Install(doc)
//
// Adding a key that exists replaces its record in place. Key 0 is refused (returns 0): it
// means "none" everywhere. Result records are stored per load case key (or mode number).
#pragma once

#include "host/db/CDBDoc.h"

#include <initializer_list>
#include <memory>
#include <span>

class PostDBBuilder {
public:
    PostDBBuilder() : m_pDB(std::make_unique<CDataBase>()) {}

    CDataBase& DB() { return *m_pDB; }
    void Set3D(BOOL b) { m_pDB->Set3D(b); }
    void SetFloor(BOOL b) { m_pDB->SetFloor(b); }

    // Any model table by id, any result table by id.
    template <int ID> int Add(UINT key, const typename pvxdb::TableType<ID>::Record& rec) {
        if (key == 0) return 0;
        m_pDB->Table<ID>().Set(key, rec);
        return 1;
    }
    template <int ID> int AddResult(UINT lc, UINT key, const typename pvxdb::TableType<ID>::Record& rec) {
        if (lc == 0 || key == 0) return 0;
        m_pDB->Table<ID>().Set(lc, key, rec);
        return 1;
    }

    // Model.
    int AddNode(UINT key, double x, double y, double z);
    // An element of up to PELEM_MAX_NODE nodes (0 for more), active.
    int AddElem(UINT key, int kind, int type, std::span<const UINT> nodes, UINT matl = 0, UINT sect = 0,
                double beta = 0.0);
    int AddElem(UINT key, int kind, int type, std::initializer_list<UINT> nodes, UINT matl = 0, UINT sect = 0,
                double beta = 0.0) {
        return AddElem(key, kind, type, std::span<const UINT>(nodes.begin(), nodes.size()), matl, sect, beta);
    }
    int AddElem(UINT key, const T_PELEM_D& rec) { return Add<DBT_PELEM>(key, rec); }
    // A member: node keys from the i-end to the j-end, element keys in member order, its length
    // (m) and, for a pile, the model pile key.
    int AddMemb(UINT key, int type, std::span<const UINT> nodes, std::span<const UINT> elems, double length = 0.0,
                UINT pileKey = 0);
    int AddMemb(UINT key, int type, std::initializer_list<UINT> nodes, std::initializer_list<UINT> elems) {
        return AddMemb(key, type, std::span<const UINT>(nodes.begin(), nodes.size()),
                       std::span<const UINT>(elems.begin(), elems.size()));
    }
    int AddMemb(UINT key, const T_PMEMB_D& rec) { return Add<DBT_PMEMB>(key, rec); }
    // Length and rigid end zones of member membKey.
    int AddMembEnds(UINT membKey, const T_CFMO_D& rec) { return Add<DBT_CFMO>(membKey, rec); }
    int AddSect(UINT key, const T_PSECT_D& rec) { return Add<DBT_PSECT>(key, rec); }
    int AddMatl(UINT key, const T_PMATL_D& rec) { return Add<DBT_PMATL>(key, rec); }
    int AddWall(UINT membKey, const T_PWALL_D& rec) { return Add<DBT_PWALL>(membKey, rec); }
    int AddSlab(UINT membKey, const T_PSLAB_D& rec) { return Add<DBT_PSLAB>(membKey, rec); }
    // Rebar directions of slab member membKey.
    int AddSdir(UINT membKey, const T_SDIR_D& rec) { return Add<DBT_SDIR>(membKey, rec); }
    // A cutting line or slab strip (kind CTLN_KIND_*) from (x1, y1, z1) to (x2, y2, z2).
    int AddCutLine(UINT key, int kind, LPCTSTR name, double width, double x1, double y1, double z1, double x2,
                   double y2, double z2);

    // Loads.
    int AddLoadCase(UINT key, int type, LPCTSTR name);
    // A combination of terms; type PLCOM_LINEAR or PLCOM_ENVELOPE. 0 when there are more terms
    // than a combination holds or a term has key 0.
    int AddLoadComb(UINT key, int type, LPCTSTR name, std::span<const T_PLCOM_ENTRY> entries);
    int AddLoadComb(UINT key, int type, LPCTSTR name, std::initializer_list<T_PLCOM_ENTRY> entries) {
        return AddLoadComb(key, type, name, std::span<const T_PLCOM_ENTRY>(entries.begin(), entries.size()));
    }

    // Settlement analysis: load groups and settlement points.
    int AddLoadGroup(UINT key, int type, LPCTSTR name);
    int AddSettlementPoint(UINT key, const T_PCDSINK_D& rec) { return Add<DBT_PCDSINK>(key, rec); }

    // Results of load case lc.
    int AddDisp(UINT lc, UINT node, const T_DISP_D& r) { return AddResult<DBT_DISP>(lc, node, r); }
    int AddReac(UINT lc, UINT node, const T_REAC_D& r) { return AddResult<DBT_REAC>(lc, node, r); }
    int AddStrp(UINT lc, UINT elem, const T_STRP_DL& r) { return AddResult<DBT_STRP>(lc, elem, r); }
    int AddMbwg(UINT lc, UINT memb, const T_MBWG_D& r) { return AddResult<DBT_MBWG>(lc, memb, r); }
    int AddStrg(UINT lc, UINT memb, const T_STRG_D& r) { return AddResult<DBT_STRG>(lc, memb, r); }
    int AddMbcl(UINT lc, UINT memb, const T_MBCL_D& r) { return AddResult<DBT_MBCL>(lc, memb, r); }
    int AddMbbr(UINT lc, UINT memb, const T_MBBR_D& r) { return AddResult<DBT_MBBR>(lc, memb, r); }
    int AddStrw(UINT lc, UINT memb, const T_STRW_D& r) { return AddResult<DBT_STRW>(lc, memb, r); }
    int AddStws(UINT lc, UINT key, const T_STWS_D& r) { return AddResult<DBT_STWS>(lc, key, r); }
    // Wall-column and wall-beam forces, keyed by the wall's result number (T_PWALL_D::resultNo).
    int AddMbwc(UINT lc, UINT resultNo, const T_MBCL_D& r) { return AddResult<DBT_MBWC>(lc, resultNo, r); }
    int AddMbwb(UINT lc, UINT resultNo, const T_STRG_D& r) { return AddResult<DBT_MBWB>(lc, resultNo, r); }
    // What a member carries of its storey's shear under static case lc.
    int AddSsfr(UINT lc, UINT memb, const T_SSFR_D& r) { return AddResult<DBT_SSFR>(lc, memb, r); }
    // Moments of slab member memb.
    int AddSmnt(UINT lc, UINT memb, const T_SMNT_D& r) { return AddResult<DBT_SMNT>(lc, memb, r); }

    // Time history of a node under time-history case lc (see T_DISPHIS_D).
    int AddDispHistory(UINT lc, UINT node, const T_DISPHIS_D& r) { return AddResult<DBT_DISPHIS>(lc, node, r); }

    // Modes (numbered from 1).
    int AddMode(UINT mode, const T_FREQ_D& freq, const T_MPAM_D& mass);
    int AddModeShape(UINT mode, UINT node, const T_MODE_D& r) { return AddResult<DBT_MODE>(mode, node, r); }

    int Save(LPCTSTR pszPath) { return m_pDB->Save(pszPath); }
    const CString& GetLastError() const { return m_pDB->GetLastError(); }
    // Hands the database over; the builder starts again with an empty one.
    std::unique_ptr<CDataBase> Release();
    // Makes the database the document's post database (the builder starts again empty).
    void Install(CDBDoc& doc) { doc.AttachDataBase(Release()); }

private:
    std::unique_ptr<CDataBase> m_pDB;
};
