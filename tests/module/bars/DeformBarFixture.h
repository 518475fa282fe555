// The bar fixture with results: displacements of the dead load, modes with shapes, settlement
// load groups with their points, and beam and column forces; and helpers that open a page of a
// container and choose its load as a person would.
//
// Records (the portal of the bar fixture: columns 1-2 and 4-3, beam 2-3):
//   DL displacements: node 2 (3, 0, -4) mm, node 3 (3, 0, -1) mm
//   modes 1 .. kModeCount; shapes: mode 1 node 2 DX 1, node 3 DX 0.5; mode 2 node 2 DY 1,
//     node 3 DY 2; mode 3 node 2 DZ 3
//   load groups: 5 static "G", kGroupA settlement "S-A", kGroupB settlement "S-B"
//   settlement points: 1 at (0, 0): A 10, B 20 mm; 2 at (6, 0): A 12, B 30 mm
#pragma once

#include <string>

#include "module/bars/CPVXBarContainerBase.h"
#include "platform/ui/CComboBox.h"
#include "tests/module/bars/BarTestSupport.h"

namespace bartest {

enum : UINT { kGroupStatic = 5, kGroupA = 7, kGroupB = 9, kCaseTimeHistory = 4 };
constexpr int kModeCount = 120;

class DeformBarFixture : public BarFixture {
protected:
    void AddRecords(PostDBBuilder& b) override {
        T_DISP_D d;
        d.Initialize();
        d.DX = 3.0, d.DZ = -4.0;
        b.AddDisp(kCaseDead, 2, d);
        d.Initialize();
        d.DX = 3.0, d.DZ = -1.0;
        b.AddDisp(kCaseDead, 3, d);
        // A time-history case, listed only where a page asks for time-history loads.
        b.AddLoadCase(kCaseTimeHistory, PLOAD_TIMEHISTORY, "THX");
        b.AddDisp(kCaseTimeHistory, 2, d);
        T_FREQ_D f{};
        T_MPAM_D mass;
        mass.Initialize();
        for (int m = 1; m <= kModeCount; ++m) {
            f.period = 1.0 / m;
            f.freq = m;
            b.AddMode(static_cast<UINT>(m), f, mass);
        }
        auto shape = [&](UINT mode, UINT node, double dx, double dy, double dz) {
            T_MODE_D r;
            r.Initialize();
            r.DX = dx, r.DY = dy, r.DZ = dz;
            b.AddModeShape(mode, node, r);
        };
        shape(1, 2, 1.0, 0, 0);
        shape(1, 3, 0.5, 0, 0);
        shape(2, 2, 0, 1.0, 0);
        shape(2, 3, 0, 2.0, 0);
        shape(3, 2, 0, 0, 3.0);
        b.AddLoadGroup(kGroupStatic, LDGP_STATIC, "G");
        b.AddLoadGroup(kGroupA, LDGP_SETTLEMENT, "S-A");
        b.AddLoadGroup(kGroupB, LDGP_SETTLEMENT, "S-B");
        auto point = [&](UINT key, double x, double a, double bb) {
            T_PCDSINK_D p;
            p.x = x;
            p.aGroup.Add(kGroupA);
            p.aValue.Add(a);
            p.aGroup.Add(kGroupB);
            p.aValue.Add(bb);
            b.AddSettlementPoint(key, p);
        };
        point(1, 0.0, 10.0, 20.0);
        point(2, 6.0, 12.0, 30.0);
    }

    // Chooses the load of that name in the page's load list, as a person would.
    static bool SelectLoad(CPVXBarDlgBase* page, const std::string& name) {
        auto* combo = dynamic_cast<CComboBox*>(page->GetDlgItem(static_cast<int>(page->m_nIDLoadCombo)));
        if (!combo) return false;
        for (int i = 0; i < combo->GetCount(); ++i) {
            CString s;
            combo->GetLBText(i, s);
            if (name == s.GetString()) return CUiDialogSession(page).SelectComboIndex(page->m_nIDLoadCombo, i) != FALSE;
        }
        return false;
    }
};

}  // namespace bartest
