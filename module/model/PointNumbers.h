// Numbers of faces gathered before they are written, one per point of the picture: plates seen
// edge-on (a wall's plates in plan) put their centres on one point, where their values would
// stand over each other; the one of the largest magnitude is written there.
//
//     PointNumbers numbers;
//     numbers.Add(pModel->Get3DPtTo2DPt(&c), c, kind, value);   // per face
//     numbers.ForEach([&](const PointNumbers::Entry& e) { ... write e ... });
#pragma once

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "host/grx/C3DPoint.h"
#include "platform/afx/afxtypes.h"

class PointNumbers {
public:
    struct Entry {
        CPoint pt;     // in the picture
        C3DPoint at;   // in the model
        int nKind;     // the writer's own kind of label
        double value;
    };
    void Add(const CPoint& pt, const C3DPoint& at, int nKind, double value) {
        const auto [it, bNew] = m_index.try_emplace({pt.x, pt.y}, m_entries.size());
        if (bNew)
            m_entries.push_back({pt, at, nKind, value});
        else if (std::fabs(value) > std::fabs(m_entries[it->second].value))
            m_entries[it->second] = {pt, at, nKind, value};
    }
    // In the order their points were first added.
    template <class Write>
    void ForEach(Write&& write) const {
        for (const Entry& e : m_entries) write(e);
    }

private:
    std::vector<Entry> m_entries;
    std::map<std::pair<long, long>, size_t> m_index;
};
