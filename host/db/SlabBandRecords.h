// Slab bands: strips of a raft slab designed like beams.
//
// T_PSBBD_D: one band (table PSBBD, a model table keyed by band): the raft it lies in, its
// outline (foundation points, PONT), the start and end of its line, whether it lies inside the
// slab (a mid band, drawn by its line) and its width.
//
// T_PDDSBBD_D: the design of one band (table PDDSBBD, a model table keyed by band): per design
// combination the design of its start, middle and end sections (S_BEAMREBARAS each) and its
// design forces at equally spaced stations from the band's start (LOAD_DATA: 1 shear, 3 moment).
#pragma once

#include <map>
#include <string>

#include "host/check/CheckData.h"
#include "host/db/BeamRebarRecords.h"
#include "platform/afx/CArray.h"
#include "platform/afx/afx.h"

struct T_PSBBD_D {
    UINT raft;                  // the raft (MTSB key) the band lies in
    CArray<UINT, UINT> aPont;   // outline, foundation points in order
    double x1, y1, x2, y2;      // the band's line, start to end, m
    int mid;                    // 1 a band inside the slab
    double width;               // m

    T_PSBBD_D() { Initialize(); }
    void Initialize() {
        raft = 0;
        aPont.RemoveAll();
        x1 = y1 = x2 = y2 = 0.0;
        mid = 0;
        width = 0.0;
    }
    BOOL IsMidSlabBand() const { return mid != 0; }
    template <class V> void Fields(V& v) {
        v.Key("raft", raft);
        v.KeyList("ponts", aPont);
        v.Coord("x1", x1);
        v.Coord("y1", y1);
        v.Coord("x2", x2);
        v.Coord("y2", y2);
        v.Int("mid", mid);
        v.Real("width", width);
    }
};

struct T_PDDSBBD_D {
    static constexpr int kSections = 3;       // start, middle, end
    static constexpr int kSectionValues = 5;  // S_BEAMREBARAS
    static constexpr int kLoadValues = 6;     // LOAD_DATA

    CArray<UINT, UINT> aComb;     // the design combinations
    CArray<double, double> aAs;   // per combination 3 sections x 5 values
    int nStation;                 // stations per combination
    CArray<double, double> aLoad; // per combination nStation x 6 values

    T_PDDSBBD_D() { Initialize(); }
    void Initialize() {
        aComb.RemoveAll();
        aAs.RemoveAll();
        nStation = 0;
        aLoad.RemoveAll();
    }
    template <class V> void Fields(V& v) {
        v.KeyList("combs", aComb);
        v.RealList("areas", aAs);
        v.Int("stations", nStation);
        v.RealList("loads", aLoad);
    }
    std::string Validate(const char** pszColumn) const {
        const INT_PTR n = aComb.GetSize();
        *pszColumn = "areas";
        if (aAs.GetSize() != n * kSections * kSectionValues)
            return std::to_string(aAs.GetSize()) + " areas for " + std::to_string(n) + " combinations";
        *pszColumn = "stations";
        if (nStation < 0) return "stations " + std::to_string(nStation) + " is negative";
        *pszColumn = "loads";
        if (aLoad.GetSize() != n * nStation * kLoadValues)
            return std::to_string(aLoad.GetSize()) + " loads for " + std::to_string(n) + " combinations of " +
                   std::to_string(nStation) + " stations";
        return {};
    }

    // The design of section 0 (start), 1 (middle) or 2 (end) for a load key: a combination's own
    // values; key 0 value by value the largest over the combinations. FALSE (out zero) when the
    // key names no combination of the band.
    BOOL FindData(UINT key, int section, S_BEAMREBARAS& out) const {
        out = S_BEAMREBARAS();
        if (section < 0 || section >= kSections || aAs.GetSize() != aComb.GetSize() * kSections * kSectionValues)
            return FALSE;
        BOOL found = FALSE;
        for (INT_PTR c = 0; c < aComb.GetSize(); ++c) {
            if (key != 0 && aComb[c] != key) continue;
            for (int i = 0; i < kSectionValues; ++i) {
                const double v = aAs[(c * kSections + section) * kSectionValues + i];
                if (!found || v > out.d[i]) out.d[i] = v;
            }
            found = TRUE;
        }
        return found;
    }
    // The stations of each combination by its key.
    void GetLoadMap(std::map<UINT, CHECK_LOAD_ARRAY>& out) const {
        out.clear();
        if (aLoad.GetSize() != aComb.GetSize() * nStation * kLoadValues) return;
        for (INT_PTR c = 0; c < aComb.GetSize(); ++c) {
            CHECK_LOAD_ARRAY& a = out[aComb[c]];
            a.RemoveAll();
            for (int s = 0; s < nStation; ++s) {
                LOAD_DATA d;
                for (int i = 0; i < kLoadValues; ++i) d.d[i] = aLoad[(c * nStation + s) * kLoadValues + i];
                a.Add(d);
            }
        }
    }
};
