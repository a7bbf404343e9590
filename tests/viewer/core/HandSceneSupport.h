// Scenes put together by hand for the 2D renderer and export tests: nodes with chosen
// projected positions, depths, radii and states, bonded as the scene build bonds them.
#pragma once

#include "viewer/core/LVScene.h"
#include "viewer/core/LatvistaOpt.h"

#include <deque>
#include <utility>

namespace ormaline::test {

// A scene whose nodes the test places itself. Compound atoms live here; the scene owns
// the nodes and bonds.
struct THandScene {
    TLVScene scene;
    std::deque<tSteckAt> atoms;

    THandScene() {
        DefaultLatvistaOpt(scene.WLVO);
        scene.i0 = 100;
        scene.j0 = 100;
        scene.mas = 1.0;
        scene.mas_l = 100;
        scene.CoeffDX = 10.0; // pixels per angstrom
    }
    ~THandScene() {
        // The compound atoms are not the compound's.
        for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
            node->pSAt = nullptr;
    }

    // An atom node at the end of the list, visible, in model `nm`, projected at (ik, jk)
    // angstrom with depth hk, model coordinates k = (ik, jk, hk).
    tTopAt& Add(int element, int index, double ik, double jk, double hk, float rad, int nm) {
        tSteckAt& atom = atoms.emplace_back();
        atom.A.n = static_cast<std::int16_t>(element);
        atom.A.i = index;
        atom.A.DegOx = 16;
        atom.A.S = 1.0f;
        tTopAt* node = NewTopAt();
        node->pSAt = &atom;
        node->c = kNodeVisible;
        node->nm = nm;
        node->rad = rad;
        node->rk = rad;
        node->ik = static_cast<float>(ik);
        node->jk = static_cast<float>(jk);
        node->hk = static_cast<float>(hk);
        node->k = {static_cast<float>(ik), static_cast<float>(jk), static_cast<float>(hk)};
        node->LegInd = 1;
        if (scene.WPTAll == nullptr) {
            scene.WPTAll = scene.WPTAtEnd = node;
        } else {
            tTopAt* last = scene.WPTAll;
            while (last->li != nullptr)
                last = last->li;
            last->li = node;
        }
        scene.ArrAt.push_back(node);
        ++scene.WCountAt;
        return *node;
    }

    // A closed, shown bond of `kind` stored in both atoms' lists.
    void Bond(tTopAt& a, tTopAt& b, std::uint8_t kind, float length) {
        for (auto [from, to] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
            tBoundAt* bond = NewBoundAt();
            bond->p = to;
            bond->cb = kind;
            bond->c = kBondShown;
            bond->r = length;
            AppendBond(*from, bond);
        }
    }
};

} // namespace ormaline::test
