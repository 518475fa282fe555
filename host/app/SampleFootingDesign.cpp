#include "host/app/SampleFootingDesign.h"

#include <algorithm>
#include <cmath>

#include "host/check/CheckTables.h"
#include "host/check/FootingDesignTables.h"
#include "host/db/CDataBase.h"
#include "host/db/FoundationTables.h"

namespace sample_design_colf {
namespace {

// The side of the column standing on the footing (a column member at the footing's own point);
// 0 when none does.
double ColumnSide(CDataBase& db, UINT colf) {
    const T_MEMB_D* f = db.Table<DBT_MEMB>().Find(colf);
    if (!f || f->aPont.GetSize() == 0) return 0.0;
    const auto& cols = db.Table<DBT_COLM>();
    for (size_t i = 0; i < cols.Keys().size(); ++i) {
        const T_MEMB_D* c = db.Table<DBT_MEMB>().Find(cols.Keys()[i]);
        if (c && c->aPont.GetSize() > 0 && c->aPont[0] == f->aPont[0])
            return std::max(cols.Records()[i].b, std::fabs(cols.Records()[i].h));
    }
    return 0.0;
}

// As in mm2 of a moment in kN.m: M 1e6 / (0.9 fy h0 1e3).
double Area(double m, double fy, double h0) { return m * 1e3 / (0.9 * fy * h0); }

}  // namespace

long AddSampleFootingDesign(CDataBase& db) {
    CClassPCDColf checks;
    checks.ConnectToDB(&db);
    auto& t = db.Table<DBT_COLF>();
    long rows = 0;
    T_PCOLFG_D group;
    group.Initialize();
    double bestZ = -1.0, bestY = -1.0;
    for (size_t i = 0; i < t.Keys().size(); ++i) {
        const UINT key = t.Keys()[i];
        const T_COLF_D& f = t.Records()[i];
        T_PCDCOLF_D check;
        if (f.circle || f.nStep < 1 || !checks.Get(key, check)) continue;
        T_PDDCOLF_D rec;
        rec.fy = kFy;
        double height = 0.0;
        for (int s = 0; s < f.nStep; ++s) height += f.step[s].t;
        rec.h0 = height - kCover;
        rec.bc = ColumnSide(db, key);
        const double b = f.step[0].b, h = f.step[0].h;
        POSITION pos = check.m_mapDouble.GetStartPosition();
        while (pos) {
            UINT g = 0;
            double pnet = 0.0;
            check.m_mapDouble.GetNextAssoc(pos, g, pnet);
            const double mz = pnet * h * (b - rec.bc) * (b - rec.bc) / 8.0;
            const double my = pnet * b * (h - rec.bc) * (h - rec.bc) / 8.0;
            const double asz = Area(mz, rec.fy, rec.h0), asy = Area(my, rec.fy, rec.h0);
            rec.m_mapMz.SetAt(g, mz);
            rec.m_mapMy.SetAt(g, my);
            rec.m_mapAsz.SetAt(g, asz);
            rec.m_mapAsy.SetAt(g, asy);
            // The group takes the largest area of each direction (ties: the smaller group key).
            if (asz > bestZ || (asz == bestZ && g < group.zGroup)) bestZ = asz, group.zGroup = g;
            if (asy > bestY || (asy == bestY && g < group.yGroup)) bestY = asy, group.yGroup = g;
        }
        db.Table<DBT_PDDCOLF>().Set(key, DesignRows::Encode(rec));
        group.aColf.Add(key);
        ++rows;
    }
    if (group.aColf.GetSize() > 0) {
        group.asz = std::max(bestZ, 0.0);
        group.asy = std::max(bestY, 0.0);
        db.Table<DBT_PCOLFG>().Set(kGroup, group);
        ++rows;
    }
    return rows;
}

}  // namespace sample_design_colf
