// The post database: every table of the analysed model and its results, held in memory.
//
// A project is one SQLite file (`.pvxdb`), read read-only. `Open` checks the header and the
// layout of every table, reads the model tables whole (every value checked) and leaves each
// result table in the file until it is first used; a failed check leaves the database empty with
// a message in `GetLastError` naming the file, table, column and key. A result table is read
// whole, with the same checks, by the first call that needs its records; a damaged one stays
// empty (nothing of it is drawn) and its message is reported through AfxDiagnostic and kept in
// `GetReadErrors`. `Save` writes a new file next to
// the target and renames it over the target, so a failed save leaves the old file intact.
// Tables are reached by id (`Table<DBT_PNODE>()`), normally through the table classes
// (`CClassPNode` ...) and `CPostCtrl`; `PostDBBuilder` fills a database in code.
//
// Adding a record type: write the struct with its `Fields` list, then add one line to
// PVXDB_MODEL_TABLES (keyed by UINT) or PVXDB_RESULT_TABLES (keyed by load case and key).
#pragma once

#include "platform/afx/afx.h"
#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "host/db/FoundationRecords.h"
#include "host/db/CheckTableRecords.h"
#include "host/db/RaftCheckRecords.h"
#include "host/db/SlabRecords.h"
#include "host/db/DBTable.h"
#include "host/db/DesignResultRecords.h"
#include "host/db/ElementDesignRecords.h"
#include "host/db/SlabBandRecords.h"
#include "host/db/BeamDesignRecords.h"
#include "host/db/SlabDesignRecords.h"
#include "host/db/FootingDesignRecords.h"
#include "host/db/StoryShearRecords.h"

#include <memory>
#include <string>
#include <vector>

//   id suffix, record type, table name in the file
#define PVXDB_MODEL_TABLES(X)            \
    X(PNODE, T_PNODE_D, "PNODE")         \
    X(PELEM, T_PELEM_D, "PELEM")         \
    X(PMEMB, T_PMEMB_D, "PMEMB")         \
    X(CFMO, T_CFMO_D, "CFMO")            \
    X(PSECT, T_PSECT_D, "PSECT")         \
    X(PMATL, T_PMATL_D, "PMATL")         \
    X(PWALL, T_PWALL_D, "PWALL")         \
    X(PSLAB, T_PSLAB_D, "PSLAB")         \
    X(PSTLD, T_PSTLD_D, "PSTLD")         \
    X(PLCOM, T_PLCOM_D, "PLCOM")         \
    X(CTLN, T_CTLN_D, "CTLN")            \
    X(RIBB, T_RIBB_D, "RIBB")            \
    X(PSEMAP, T_PSEMAP_D, "PSEMAP")      \
    X(PSELEM, T_PSELEM_D, "PSELEM")      \
    X(PRDSTSE, T_PRDSTSE_D, "PRDSTSE")   \
    X(PNODESE, T_PNODESE_D, "PNODESE")   \
    X(PELEMSE, T_PELEMSE_D, "PELEMSE")   \
    X(FREQ, T_FREQ_D, "FREQ")            \
    X(MPAM, T_MPAM_D, "MPAM")            \
    X(LDGP, T_LDGP_D, "LDGP")            \
    X(PCDSINK, T_PCDSINK_D, "PCDSINK")   \
    X(PESPR, T_PESPR_D, "PESPR")         \
    X(PRTND, T_PRTND_D, "PRTND")         \
    X(SDIR, T_SDIR_D, "SDIR")            \
    X(PAGESET, T_PAGESET_D, "PAGESET")   \
    X(PONT, T_PONT_D, "PONT")            \
    X(AXIS, T_AXIS_D, "AXIS")            \
    X(MEMB, T_MEMB_D, "MEMB")            \
    X(COLM, T_COLM_D, "COLM")            \
    X(WALL, T_WALL_D, "WALL")            \
    X(COLF, T_COLF_D, "COLF")            \
    X(FOSP, T_FOSP_D, "FOSP")            \
    X(BEAM, T_BEAM_D, "BEAM")            \
    X(MTSB, T_MTSB_D, "MTSB")            \
    X(PILE, T_PILE_D, "PILE")            \
    X(PISP, T_PISP_D, "PISP")            \
    X(SRCT, T_SRCT_D, "SRCT")            \
    X(GBPA, T_GBPA_D, "GBPA")            \
    X(FVDTEXT, T_FVDTEXT_D, "FVDTEXT")   \
    X(WDLD, T_WDLD_D, "WDLD")            \
    X(CKLG, T_CKLG_D, "CKLG")            \
    X(PCDCOLF, T_PCDCOLF_ROW, "PCDCOLF") \
    X(PCDCJY, T_PCDCJY_ROW, "PCDCJY")    \
    X(PCDBEAM, T_PCDBEAM_ROW, "PCDBEAM") \
    X(PCDPILE, T_PCDPILE_ROW, "PCDPILE") \
    X(PCDMTSB, T_PCDMTSB_ROW, "PCDMTSB") \
    X(RBEM, T_RBEM_D, "RBEM")            \
    X(RCOL, T_RCOL_D, "RCOL")            \
    X(RWAL, T_RWAL_D, "RWAL")            \
    X(RSLB, T_RSLB_D, "RSLB")            \
    X(ELERP, T_ELERP_D, "ELERP")         \
    X(PDDSLAB, T_PDDSLAB_D, "PDDSLAB") \
    X(PSBBD, T_PSBBD_D, "PSBBD")         \
    X(PDDSBBD, T_PDDSBBD_D, "PDDSBBD")   \
    X(PDDBEAM, T_PDDBEAM_ROW, "PDDBEAM")   \
    X(PDDCOLF, T_PDDCOLF_ROW, "PDDCOLF") \
    X(PCOLFG, T_PCOLFG_D, "PCOLFG")

#define PVXDB_RESULT_TABLES(X)           \
    X(DISP, T_DISP_D, "DISP")            \
    X(REAC, T_REAC_D, "REAC")            \
    X(MODE, T_MODE_D, "MODE")            \
    X(STRP, T_STRP_DL, "STRP")           \
    X(STRIPF, T_CLDF_D, "STRIPF")        \
    X(RIBF, T_CLDF_D, "RIBF")            \
    X(MBWG, T_MBWG_D, "MBWG")            \
    X(STRG, T_STRG_D, "STRG")            \
    X(MBCL, T_MBCL_D, "MBCL")            \
    X(MBBR, T_MBBR_D, "MBBR")            \
    X(STRW, T_STRW_D, "STRW")            \
    X(STWS, T_STWS_D, "STWS")            \
    X(DISPHIS, T_DISPHIS_D, "DISPHIS")   \
    X(MBWC, T_MBCL_D, "MBWC")            \
    X(MBWB, T_STRG_D, "MBWB")            \
    X(SLDG, T_SLDG_D, "SLDG")            \
    X(SWDF, T_SWDF_D, "SWDF")            \
    X(SSFR, T_SSFR_D, "SSFR")            \
    X(SMNT, T_SMNT_D, "SMNT")            \
    X(PDDELEM, T_PDDELEM_D, "PDDELEM")

enum EPostDBTable {
#define PVXDB_ENUM(id, type, name) DBT_##id,
    PVXDB_MODEL_TABLES(PVXDB_ENUM)
    DBT_MODEL_COUNT,
    DBT_RESULT_BASE_ = DBT_MODEL_COUNT - 1,  // so that the first result table is DBT_MODEL_COUNT
    PVXDB_RESULT_TABLES(PVXDB_ENUM)
    DBT_COUNT
#undef PVXDB_ENUM
};

namespace pvxdb {
template <int ID> struct TableType;
#define PVXDB_MODEL_TYPE(id, type, name) \
    template <> struct TableType<DBT_##id> { using Record = type; using Table = DBTable<type>; };
#define PVXDB_RESULT_TYPE(id, type, name) \
    template <> struct TableType<DBT_##id> { using Record = type; using Table = DBResultTable<type>; };
PVXDB_MODEL_TABLES(PVXDB_MODEL_TYPE)
PVXDB_RESULT_TABLES(PVXDB_RESULT_TYPE)
#undef PVXDB_MODEL_TYPE
#undef PVXDB_RESULT_TYPE
}  // namespace pvxdb

class CDataBase {
public:
    static const char* const m_szFormat;  // format name in the header table
    static const int m_nVersion;          // format version written and the newest one read

    CDataBase();
    ~CDataBase();
    CDataBase(const CDataBase&) = delete;
    CDataBase& operator=(const CDataBase&) = delete;

    // Reads a project file. Non-zero on success. On failure the database is empty, the
    // message says what is wrong, and the file is untouched.
    int Open(LPCTSTR pszPath);
    // Writes the whole database to a project file atomically. Non-zero on success.
    int Save(LPCTSTR pszPath);
    // Writes the given model tables into an existing project file in place, in one transaction:
    // each table's rows are replaced by the database's (the table is made when the file has
    // none); every other table of the file stays as it is. The file must be a project this
    // program reads. On failure the file is unchanged. Non-zero on success.
    int SaveTables(LPCTSTR pszPath, const std::vector<int>& tableIds);
    // Empties every table and resets the flags.
    void Clear();
    // Reads every result table still in the file now (Save and SaveTables do this first).
    void ReadPendingTables();
    // The messages of result tables refused when first read since the last Open.
    std::vector<std::string> GetReadErrors() const;

    // Progress of Open and Save for a progress display: called now and then while they run with
    // the share (0 to 1) of the file read or of the records written. One handler for the
    // process; null for none.
    typedef void (*PFN_PROGRESS)(double fraction);
    static void SetProgressHandler(PFN_PROGRESS pfnHandler);
    // For tests: the further connections a load is read in parts on, in projects opened from
    // now on (-1, the default: one fewer than WorkThreads(), at most 7).
    static void SetPartReaders(int n);
    // Parts of loads read on further connections so far.
    int GetPartReads() const;

    const CString& GetLastError() const { return m_strError; }
    // What the last successful Open mended in the file's data (each naming file, table, column
    // and key); empty for a clean file. The host shows them to the user.
    const std::vector<std::string>& GetWarnings() const { return m_warnings; }
    // The file last opened or saved, empty for a database built in memory.
    const CString& GetPathName() const { return m_strPath; }

    // Three-dimensional model (frames, walls, plates in space) rather than a plan model.
    BOOL Is3D() const { return m_b3D; }
    void Set3D(BOOL b) { m_b3D = b; }
    // A floor (single story) post database.
    BOOL IsFloor() const { return m_bFloor; }
    void SetFloor(BOOL b) { m_bFloor = b; }

    template <int ID> typename pvxdb::TableType<ID>::Table& Table() {
        return *static_cast<typename pvxdb::TableType<ID>::Table*>(m_tables[ID].get());
    }
    template <int ID> const typename pvxdb::TableType<ID>::Table& Table() const {
        return *static_cast<const typename pvxdb::TableType<ID>::Table*>(m_tables[ID].get());
    }
    pvxdb::DBTableBase* GetTable(int id) { return id >= 0 && id < DBT_COUNT ? m_tables[id].get() : nullptr; }
    // The newest version among the model tables (geometry, sections, materials, ...; not the
    // results): it changes whenever any of them changes, and differs between databases.
    unsigned long long GetModelVersion() const;

    // Derived lookups, rebuilt when their table changes.
    // The member holding an element (the first member listing it); 0 when none.
    UINT GetMembKeyOfElem(UINT elemKey);
    // Row key of the super node (seKey, nodeKey) in PNODESE, or of the super element's element
    // (seKey, elemKey) in PELEMSE; 0 when none.
    UINT GetNodeSERow(UINT seKey, UINT nodeKey);
    UINT GetElemSERow(UINT seKey, UINT elemKey);
    // The elements whose last node is nodeKey, in table order.
    const std::vector<UINT>& GetElemsEndingAt(UINT nodeKey);

private:
    int Fail(const std::string& msg);
    // Records that the project now lives at path (after a save); 1.
    int Saved(const std::string& path);
    // A member listing an element more than once keeps its first place only (it would be drawn,
    // and its forces looked up, once per listing).
    void DropRepeatedMemberElems(const std::string& path);

    struct KeyIndex {
        unsigned long long version = ~0ULL;
        std::unordered_map<unsigned long long, UINT> map;
    };
    KeyIndex m_membOfElem;
    KeyIndex m_nodeSE;
    KeyIndex m_elemSE;
    unsigned long long m_endNodeVersion = ~0ULL;
    std::unordered_map<UINT, std::vector<UINT>> m_elemsEndingAt;

    // The open file the pending result tables are read from.
    class PendingFile;
    std::unique_ptr<PendingFile> m_pending;
    std::vector<std::string> m_readErrors;  // kept when the file is closed
    void ClosePending();
    // Closes the file once every table is read, keeping the read errors.
    void KeepReadErrors();

    std::unique_ptr<pvxdb::DBTableBase> m_tables[DBT_COUNT];
    CString m_strError;
    std::vector<std::string> m_warnings;
    CString m_strPath;
    BOOL m_b3D;
    BOOL m_bFloor;
};
