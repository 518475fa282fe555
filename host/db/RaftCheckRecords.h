// The stored row of the raft check table (docs/DATABASE.md, PCDMTSB).
#pragma once

#include <string>

// Overall checks of one raft (PCDMTSB, key = the raft's key): bearing, sliding, overturning,
// load centre, anti-floating, the unfavourable-combination texts, and the punching and shear
// checks of the objects on it (columns, wall groups, regions).
struct T_PCDMTSB_ROW {
    double fa;          // kPa, bearing capacity
    std::string czl;    // CZLCheckMap by standard combination
    std::string slide;  // CheckDataMap: sliding (action Ks*Q, resistance F1+F2+(Ep-Ea)*L), kN
    std::string turn;   // CheckDataMap: overturning (action Kr*Mc, resistance Mr), kN.m
    std::string lc;     // LCCheckMap: load centre (m, kN) and eccentricities against 0.1 W/A (m)
    std::string kf;     // CheckDataMap: anti-floating (action buoyancy F, resistance weight W), kN
    std::string bad;    // unfavourable-combination texts: lines "key<TAB>text"
    std::string cq;     // SlabCJCheckMap: punching, by object number
    std::string jq;     // SlabCJCheckMap: shear, by object number

    void Initialize() {
        fa = 0.0;
        czl.clear(); slide.clear(); turn.clear(); lc.clear(); kf.clear(); bad.clear(); cq.clear(); jq.clear();
    }
    template <class V> void Fields(V& v) {
        v.Real("fa", fa);
        v.Data("czl", czl);
        v.Data("slide", slide);
        v.Data("turn", turn);
        v.Data("lc", lc);
        v.Data("kf", kf);
        v.Data("bad", bad);
        v.Data("cq", cq);
        v.Data("jq", jq);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "fa";
        return fa > 0.0 ? std::string() : std::string("the bearing capacity is not a positive number");
    }
};
