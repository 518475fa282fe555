// The "TextMove" database command on a project file: a committed change reaches the file, an
// abandoned one leaves memory and file as they were.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "host/cmd/CDBCommand.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"

namespace {

std::string ProjectFile(const char* tag) {
    std::string path = ::testing::TempDir() + "pvx_dbcommand_" + tag + "_" + std::to_string(getpid()) + ".pvxdb";
    std::remove(path.c_str());
    PostDBBuilder b;
    b.AddNode(1, 0, 0, 0);
    T_PONT_D p;
    p.x = 3;
    p.y = 4;
    b.Add<DBT_PONT>(1, p);
    T_MEMB_D m;
    m.type = MEMB_FOOTING;
    m.aPont.Add(1);
    m.textX[3] = 0.25;
    b.Add<DBT_MEMB>(401, m);
    T_COLF_D f;
    f.Initialize();
    f.nStep = 1;
    f.cx = 3;
    f.cy = 4;
    f.step[0] = {2, 2, 0.5};
    b.Add<DBT_COLF>(401, f);
    T_GBPA_D g;
    g.Initialize();
    g.designCode.code = GBPA_CODE_GB;
    b.Add<DBT_GBPA>(GBPA_KEY, g);
    EXPECT_TRUE(b.DB().Save(path.c_str()));
    return path;
}

double StoredTextX(const std::string& path, int slot) {
    CDataBase db;
    EXPECT_TRUE(db.Open(path.c_str())) << db.GetLastError().GetString();
    const T_MEMB_D* m = db.Table<DBT_MEMB>().Find(401);
    return m ? m->textX[slot] : -999.0;
}

}  // namespace

TEST(DBCommand, TextMoveCommitAndAbandon) {
    struct Row {
        const char* label;
        bool commit;
        double memory, file;  // slot 3 after the command: 0.25 + 1.5 when kept
    } rows[] = {{"commit keeps and writes", true, 1.75, 1.75}, {"abandon restores", false, 0.25, 0.25}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string path = ProjectFile(r.commit ? "commit" : "abandon");
        CDataBase db;
        ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError().GetString();
        CDBCommand cmd;
        cmd.SetCmd("TextMove", 1, 0, 0, 0);
        ASSERT_TRUE(cmd.Open(&db));
        EXPECT_FALSE(cmd.Open(&db));  // already open
        T_MEMB_D m = *db.Table<DBT_MEMB>().Find(401);
        m.textX[3] += 1.5;
        db.Table<DBT_MEMB>().Set(401, m);
        T_GBPA_D g = *db.Table<DBT_GBPA>().Find(GBPA_KEY);
        g.buffer.textY[0] = 2.0;
        db.Table<DBT_GBPA>().Set(GBPA_KEY, g);
        EXPECT_EQ(r.commit ? cmd.Commit() : cmd.Abandon(), 1);
        EXPECT_FALSE(cmd.IsOpen());
        EXPECT_DOUBLE_EQ(db.Table<DBT_MEMB>().Find(401)->textX[3], r.memory);
        EXPECT_DOUBLE_EQ(db.Table<DBT_GBPA>().Find(GBPA_KEY)->buffer.textY[0], r.commit ? 2.0 : 0.0);
        EXPECT_DOUBLE_EQ(StoredTextX(path, 3), r.file);
        EXPECT_EQ(cmd.Commit(), 0);  // nothing open
        EXPECT_EQ(cmd.Abandon(), 0);
        std::remove(path.c_str());
    }
    CDBCommand unnamed;
    CDataBase db;
    EXPECT_EQ(unnamed.Open(&db), 0);
    CDBCommand named;
    named.SetCmd("TextMove", 1, 0, 0, 0);
    EXPECT_EQ(named.Open(nullptr), 0);
}
