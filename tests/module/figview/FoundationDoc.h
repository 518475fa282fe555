// A small foundation model installed as the process's document for the figure tests.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"

namespace figview {

// Member keys of the model.
enum : UINT { kFooting = 401, kColumn = 101, kPile = 403 };

inline void AddPont(PostDBBuilder& b, UINT key, double x, double y) {
    T_PONT_D p;
    p.x = x;
    p.y = y;
    b.Add<DBT_PONT>(key, p);
}

inline T_MEMB_D Memb(int type, UINT pont, UINT fosp = 0, double angle = 0.0) {
    T_MEMB_D m;
    m.type = type;
    m.aPont.Add(pont);
    m.fosp = fosp;
    m.angle = angle;
    return m;
}

// A footing 401 (offsets of slot 1: 0.5, -0.25), a column 101 and the global parameters (slot
// 0 offset x 2.0).
inline void AddTextOwners(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 0);
    AddPont(b, 1, 3, 4);
    T_MEMB_D f = Memb(MEMB_FOOTING, 1);
    f.textX[1] = 0.5;
    f.textY[1] = -0.25;
    b.Add<DBT_MEMB>(kFooting, f);
    b.Add<DBT_MEMB>(kColumn, Memb(MEMB_COLUMN, 1));
    T_COLF_D c;
    c.Initialize();
    c.nStep = 1;
    c.cx = 3;
    c.cy = 4;
    c.step[0] = {2, 2, 0.5};
    b.Add<DBT_COLF>(kFooting, c);
    T_COLM_D col;
    col.b = 0.5;
    col.h = 0.5;
    b.Add<DBT_COLM>(kColumn, col);
    T_GBPA_D g;
    g.Initialize();
    g.designCode.code = GBPA_CODE_GB;
    g.buffer.textX[0] = 2.0;
    b.Add<DBT_GBPA>(GBPA_KEY, g);
}

// Makes doc the process's document for the test's lifetime.
class DocScope {
public:
    explicit DocScope(CDBDoc& doc) : m_saved(CDBDoc::m_pDBDoc) { CDBDoc::m_pDBDoc = &doc; }
    ~DocScope() { CDBDoc::m_pDBDoc = m_saved; }

private:
    CDBDoc* m_saved;
};

inline std::string TempProject(const char* tag) {
    return ::testing::TempDir() + "pvx_figview_" + tag + "_" + std::to_string(getpid()) + ".pvxdb";
}

}  // namespace figview
