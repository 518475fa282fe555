// Rows of the small projects the beam sheet tests build, and a shell helper for the DXF checks.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/db/DBRecords.h"
#include "host/db/FoundationRecords.h"
#include "tests/module/FigureTestSupport.h"

namespace figbeam {

inline T_MEMB_D Memb(int type) {
    T_MEMB_D m;
    m.type = type;
    return m;
}

inline T_BEAM_D Beam(int link) {
    T_BEAM_D b;
    b.Initialize();
    b.link = link;
    return b;
}

inline T_PMEMB_D PMemb(int type, int subKind, UINT modelKey, std::vector<UINT> nodes = {}) {
    T_PMEMB_D m;
    m.type = type;
    m.subKind = subKind;
    m.modelKey = modelKey;
    for (UINT n : nodes) m.aNode.Add(n);
    return m;
}

// Draws a sheet made by run-time class name (an empty drawing when the class is unknown).
inline std::unique_ptr<CVdrawUtil> DrawByClass(const char* cls, int type, UINT load, double valueScale) {
    std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(cls));
    auto* fig = dynamic_cast<CFVDBase*>(obj.get());
    EXPECT_NE(fig, nullptr) << cls;
    if (!fig) return std::make_unique<CVdrawUtil>();
    return moduletest::DrawSheet(*fig, type, load, valueScale);
}

// The output of a shell command.
inline std::string Shell(const std::string& cmd) {
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

}  // namespace figbeam
