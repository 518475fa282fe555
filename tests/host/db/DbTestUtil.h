// Helpers of the database tests: a small project with something in every table, a canonical
// byte image of a record, and file hashing.
#pragma once

#include "host/db/CMembUtil.h"
#include "host/db/CSelectPostLC.h"
#include "host/db/PostDBBuilder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace dbtest {

// Every field of a record, appended as bytes in field-list order (maps in iteration order).
class Image {
public:
    void Int(const char*, int& v) { Put(&v, sizeof v); }
    void Key(const char*, UINT& v) { Put(&v, sizeof v); }
    void Real(const char*, double& v) { Put(&v, sizeof v); }
    void Coord(const char*, double& v) { Put(&v, sizeof v); }
    void Ints(const char*, int* p, int n) { Put(p, sizeof(int) * n); }
    void Keys(const char*, UINT* p, int n) { Put(p, sizeof(UINT) * n); }
    void Reals(const char*, double* p, int n) { Put(p, sizeof(double) * n); }
    void Text(const char*, char* p, int) { s += p; s += '\0'; }
    void Bytes(const char*, void* p, size_t n) { Put(p, n); }
    void Data(const char*, std::string& d) {
        size_t n = d.size();
        Put(&n, sizeof n);
        s += d;
    }
    template <class S> void Str(const char*, S& v) { s += static_cast<LPCTSTR>(v); s += '\0'; }
    template <class L> void KeyList(const char*, L& l) {
        INT_PTR n = l.GetSize();
        Put(&n, sizeof n);
        for (INT_PTR i = 0; i < n; ++i) Put(&l[i], sizeof(UINT));
    }
    template <class L> void RealList(const char*, L& l) {
        INT_PTR n = l.GetSize();
        Put(&n, sizeof n);
        for (INT_PTR i = 0; i < n; ++i) Put(&l[i], sizeof(double));
    }
    template <class M> void KeyMap(const char*, M& m) {
        INT_PTR n = m.GetCount();
        Put(&n, sizeof n);
        UINT k, v;
        for (POSITION pos = m.GetStartPosition(); pos;) {
            m.GetNextAssoc(pos, k, v);
            Put(&k, sizeof k);
            Put(&v, sizeof v);
        }
    }
    std::string s;

private:
    void Put(const void* p, size_t n) { s.append(static_cast<const char*>(p), n); }
};

template <class T> std::string ImageOf(const T& rec) {
    T copy = rec;
    Image im;
    copy.Fields(im);
    return im.s;
}

// Whole table: keys in table order and the image of each record.
template <int ID> std::string TableImage(CDataBase& db) {
    const auto& t = db.Table<ID>();
    std::string s;
    for (size_t i = 0; i < t.Keys().size(); ++i) {
        UINT k = t.Keys()[i];
        s.append(reinterpret_cast<const char*>(&k), sizeof k);
        s += ImageOf(t.Records()[i]);
    }
    return s;
}

inline std::string TmpPath(const std::string& name) { return std::string(PVX_TEST_TMPDIR) + "/db_" + name; }

inline std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// FNV-1a of a file's bytes.
inline unsigned long long FileHash(const std::string& path) {
    unsigned long long h = 1469598103934665603ULL;
    for (unsigned char c : ReadFile(path)) h = (h ^ c) * 1099511628211ULL;
    return h;
}

inline T_DISP_D Disp(double dx, double dy, double dz, double rx, double ry, double rz) {
    T_DISP_D d;
    d.DX = dx; d.DY = dy; d.DZ = dz; d.RX = rx; d.RY = ry; d.RZ = rz;
    return d;
}

inline T_REAC_D Reac(double fx, double fy, double fz, double mx, double my, double mz) {
    T_REAC_D r;
    r.FX = fx; r.FY = fy; r.FZ = fz; r.MX = mx; r.MY = my; r.MZ = mz;
    return r;
}

// The project of BuildProject saved under TmpPath(name); returns its path.
std::string SavedProject(const std::string& name);

// A saved project (as SavedProject) changed by running sql on it with SQLite.
std::string EditedCopy(const std::string& name, const char* sql);

// A result table is read when first used: a file whose result table `table` is damaged opens
// with its model, and the first read of that table leaves it empty with one read error holding
// the file's path and every word. Returns that message.
inline std::string ExpectRefusedWhenRead(const std::string& path, int table, const std::vector<const char*>& words) {
    CDataBase db;
    EXPECT_TRUE(db.Open(path.c_str())) << db.GetLastError();
    EXPECT_GT(db.Table<DBT_PNODE>().Count(), 0u) << "the model is read at opening";
    EXPECT_TRUE(db.GetReadErrors().empty()) << "nothing refused before it is read";
    pvxdb::DBTableBase* t = db.GetTable(table);
    EXPECT_TRUE(t && t->IsPending());
    if (!t) return "";
    EXPECT_EQ(t->Count(), 0u) << "nothing of a refused table is kept";
    EXPECT_FALSE(t->IsPending()) << "a refused table is not read again";
    db.ReadPendingTables();
    const std::vector<std::string> errors = db.GetReadErrors();
    EXPECT_EQ(errors.size(), 1u);
    const std::string msg = errors.empty() ? "" : errors[0];
    EXPECT_NE(msg.find(path), std::string::npos) << "message: " << msg;
    for (const char* w : words) EXPECT_NE(msg.find(w), std::string::npos) << "message: " << msg << "\nlacks: " << w;
    return msg;
}

// A small frame-and-slab project touching every table. Keys are added out of order on
// purpose: table order must survive a save.
void BuildProject(PostDBBuilder& b);

}  // namespace dbtest
