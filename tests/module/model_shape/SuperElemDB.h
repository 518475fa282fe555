// A post database with two super elements for the tests.
//
// Super element 100 (mesh 500) stands for the plane model elements 11, 12 and the line element
// 21 between an i-end (nodes 1, 2 at x = y = 0) and a j-end (nodes 3, 4 at (3, 4)), covering
// node 5. Super nodes 901..905 are the model nodes 1..5 (stored with wrong coordinates on
// purpose: a model node is read from the node table); 906 is an inner node stored at (1, 2, 3)
// with the offset (10, 0, -1). Super element 101 (mesh 501) has a single-node i-end.
// Member 50 is made of super element 100.
#pragma once

#include <memory>

#include "host/db/PostDBBuilder.h"

inline std::unique_ptr<CDataBase> BuildSuperElementDB() {
    PostDBBuilder b;
    const double xyz[5][3] = {{0, 0, 0}, {0, 0, 2}, {3, 4, 0}, {3, 4, 2}, {1.5, 2, 0}};
    for (UINT n = 1; n <= 5; ++n) b.AddNode(n, xyz[n - 1][0], xyz[n - 1][1], xyz[n - 1][2]);
    b.AddElem(11, PELEM_KIND_PLATE, 301, {1, 5, 2});
    b.AddElem(12, PELEM_KIND_PLATE, 301, {5, 3, 4});
    T_PELEM_D se{};
    se.kind = PELEM_KIND_SUPER;
    b.AddElem(100, se);
    b.AddElem(101, se);
    b.AddMemb(50, 301, {1, 2, 3, 4}, {100});

    T_PSEMAP_D map;
    map.seKey = 500;
    for (UINT n = 1; n <= 5; ++n) map.map[0][900 + n] = n;  // super node -> model node
    for (UINT n = 1; n <= 4; ++n) map.map[1][n] = 900 + n;  // end nodes
    map.map[3][5] = 905;                                     // covered node
    map.map[2][12] = 2;                                      // plane elements -> mesh elements
    map.map[2][11] = 1;
    map.map[4][21] = 3;                                      // line element -> mesh element
    b.Add<DBT_PSEMAP>(100, map);
    map.seKey = 501;
    b.Add<DBT_PSEMAP>(101, map);

    T_PSELEM_D sel;
    for (UINT n : {901, 902}) sel.aINode.Add(n);
    for (UINT n : {903, 904}) sel.aJNode.Add(n);
    for (UINT n = 1; n <= 5; ++n) sel.mapModelNode[900 + n] = n;
    b.Add<DBT_PSELEM>(500, sel);
    sel.aINode.RemoveAt(1);
    b.Add<DBT_PSELEM>(501, sel);
    b.Add<DBT_PRDSTSE>(100, T_PRDSTSE_D{10.0, 0.0, -1.0});

    for (UINT n = 901; n <= 905; ++n) b.Add<DBT_PNODESE>(n, T_PNODESE_D{500, n, {99, 99, 99}});
    b.Add<DBT_PNODESE>(906, T_PNODESE_D{500, 906, {1, 2, 3}});
    auto mesh = [&](UINT key, std::initializer_list<UINT> nodes) {
        T_PELEMSE_D r{};
        r.seKey = 500;
        r.elemKey = key;
        for (UINT n : nodes) r.elem.node[r.elem.nNode++] = n;
        b.Add<DBT_PELEMSE>(key, r);
    };
    mesh(1, {901, 905, 906, 902});
    mesh(2, {905, 903, 904, 906});
    mesh(3, {901, 903});
    return b.Release();
}
