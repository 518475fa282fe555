// FlatKeyIndex: key -> position in a table, one short probe per lookup.
//
// The class library's map hashes a key to key >> 4, so sixteen neighbouring keys share a chain
// and a lookup among a hundred thousand records walks about eight of them; a table read face by
// face while drawing finds its rows here instead.
//
//   FlatKeyIndex index;
//   index.Reset(rows.size());
//   index.Insert(key, 0);
//   const int at = index.Find(key);  // -1 when absent
#pragma once

#include <cstddef>
#include <vector>

#include "platform/afx/afxtypes.h"

class FlatKeyIndex {
public:
    // Empties the index with room for n keys at most half full.
    void Reset(size_t n) {
        size_t cap = 16;
        while (cap < 2 * n) cap *= 2;
        m_slots.assign(cap, Slot{});
        m_mask = cap - 1;
    }
    // Sets the key's position (a key inserted twice keeps the later one).
    void Insert(UINT key, int pos) {
        for (size_t i = Home(key);; i = (i + 1) & m_mask) {
            Slot& s = m_slots[i];
            if (s.pos < 0 || s.key == key) {
                s = Slot{key, pos};
                return;
            }
        }
    }
    int Find(UINT key) const {
        if (m_slots.empty()) return -1;
        for (size_t i = Home(key);; i = (i + 1) & m_mask) {
            const Slot& s = m_slots[i];
            if (s.pos < 0 || s.key == key) return s.pos;
        }
    }

    // Fetches the key's home slot into the cache ahead of a Find.
    void Prefetch(UINT key) const {
        if (!m_slots.empty()) __builtin_prefetch(&m_slots[Home(key)]);
    }

private:
    struct Slot {
        UINT key = 0;
        int pos = -1;  // -1: free
    };
    // Runs of sixteen neighbouring keys stay together (a pass over neighbouring keys reads
    // neighbouring slots); the runs are spread by a multiplicative hash.
    size_t Home(UINT key) const {
        const unsigned long long run = (static_cast<unsigned long long>(key >> 4) * 0x9E3779B97F4A7C15ull) >> 32;
        return static_cast<size_t>(run * 16 + (key & 15)) & m_mask;
    }

    std::vector<Slot> m_slots;
    size_t m_mask = 0;
};
