// Table classes of the post database: typed, read-only views of one table each.
//
// A table object is cheap: construct it (often on the stack), bind it with `ConnectToDB`
// (normally `CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost()`), then read records by key:
//     CClassPNode nodes;  nodes.ConnectToDB(pDB);
//     T_PNODE_D n;        if (nodes.Get(key, n)) ...
// `Get` fills the record and returns non-zero when the key exists; an unknown key (or an
// unbound table) returns 0 and leaves the record unchanged. `GetKeyList` gives the keys in
// table order. Tables with extra operations (`CClassPElem`, `CClassPMemb` ...) are in
// DBTables.h.
#pragma once

#include "host/db/CDataBase.h"

class DB_CDataClass {
public:
    DB_CDataClass() : m_pDB(nullptr) {}
    virtual ~DB_CDataClass() = default;

    // Binds the table to a database; non-zero when pDB is not null.
    virtual int ConnectToDB(CDataBase* pDB) {
        m_pDB = pDB;
        return pDB != nullptr;
    }
    CDataBase* GetDB() const { return m_pDB; }

protected:
    CDataBase* m_pDB;  // bound database, not owned
};

// Common operations of a table keyed by UINT.
template <int ID> class DB_CTable : public DB_CDataClass {
public:
    using Record = typename pvxdb::TableType<ID>::Record;
    static const int m_nClassID = ID;  // table id in CDataBase

    int Get(UINT key, Record& rec) const {
        const Record* p = Find(key);
        if (!p) return 0;
        rec = *p;
        return 1;
    }
    int Exist(UINT key) const { return Find(key) != nullptr; }
    int GetCount() const { return m_pDB ? static_cast<int>(m_pDB->Table<ID>().Count()) : 0; }
    // Fills keys with every key in table order; returns the count.
    int GetKeyList(CArray<UINT, UINT>& keys) const {
        keys.RemoveAll();
        if (!m_pDB) return 0;
        const auto& k = m_pDB->Table<ID>().Keys();
        keys.SetSize(static_cast<INT_PTR>(k.size()));
        if (!k.empty()) memcpy(keys.GetData(), k.data(), k.size() * sizeof(UINT));
        return static_cast<int>(k.size());
    }

protected:
    const Record* Find(UINT key) const { return m_pDB ? m_pDB->Table<ID>().Find(key) : nullptr; }
};
