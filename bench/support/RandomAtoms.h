// A compound of `atoms` atoms of five elements (H, C, N, O, S) at random positions of a
// cubic cell holding them at about the density of a molecular crystal (one atom per 15
// cubic angstrom), for the viewer benchmarks.
#pragma once

#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "viewer/core/LVScene.h"

#include <cmath>
#include <random>

namespace ormaline::bench {

inline void FillRandomAtoms(TLVScene& scene, int atoms) {
    tCompParam& comp = scene.CompParamMaler;
    InitCompParam(comp, staAtNI);
    const auto edge = static_cast<float>(std::cbrt(15.0 * atoms));
    comp.DC.Tr = {edge, edge, edge};
    comp.DC.Ug = {90.0f, 90.0f, 90.0f};
    CalcParamTTO(comp);
    comp.NameSG = "P 1";
    comp.CodeSG = 1;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> inside(0.001, 0.999);
    const std::int16_t elements[] = {1, 6, 7, 8, 16};
    tSteckAt* head = nullptr;
    tSteckAt** tail = &head;
    for (int number = 1; number <= atoms; ++number) {
        tSteckAt* atom = NewSteckAt();
        atom->A.n = elements[number % 5];
        atom->A.i = number;
        atom->i = number;
        atom->A.k = {inside(random), inside(random), inside(random)};
        *tail = atom;
        tail = &atom->li;
        ++comp.DC.at_;
    }
    comp.pAt0 = comp.pAtEnd = head;
}

} // namespace ormaline::bench
