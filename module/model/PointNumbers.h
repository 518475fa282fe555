// Numbers of faces gathered before they are written, one per point of the picture: plates seen
// edge-on (a wall's plates in plan) put their centres on one point, where their values would
// stand over each other; the one of the largest magnitude is written there.
//
//     PointNumbers numbers;
//     numbers.Add(pModel->Get3DPtTo2DPt(&c), c, kind, value);   // per face
//     numbers.WriteWith(label, pModel);   // in the order their points were first added
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

    // Each number, in the order its point was first added, written by a label writer: at its picture point, or as the writer's own kind
    // of extreme label at its model point.
    template <class Label, class Model>
    void WriteWith(Label& label, Model* pModel) const {
        for (const Entry& e : m_entries) {
            C3DPoint at = e.at;
            if (e.nKind < 0)
                label.OutputNumber(e.pt.x, e.pt.y, e.value);
            else
                label.OutputMaxMin(pModel, &at, e.nKind, e.value);
        }
    }

private:
    std::vector<Entry> m_entries;
    std::map<std::pair<long, long>, size_t> m_index;
};
