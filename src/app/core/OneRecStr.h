// The row buffer of the ligand search: one hit while it is copied to the grid or the
// file. The search fills ID, name, count_at, ident and c_loc; the other fields stay
// empty.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Guid.h"

namespace ormaline {

struct TOneRecBond {
    TGuid ID;
    std::int32_t num_at_1 = 0;
    std::int32_t num_at_2 = 0;
    std::int32_t i = 0;
};

struct TOneRecAtom {
    TGuid ID;
    std::int8_t n = 0; // element code
    std::int32_t i = 0;
    std::uint16_t CN = 0;
    std::int32_t num_at = 0;
    std::array<float, 3> k{};
    std::string Color;
    std::vector<TOneRecBond> ArrBonds;
};

struct TOneRecStr {
    TGuid ID;
    std::string name;
    std::int32_t count_at = 0; // column countat
    std::int32_t ident = 0;    // column ttlcode
    std::int32_t c_loc = 0;    // distinct refcode || coordtype among the occurrences
    std::int64_t ADMLink = 0;
    std::array<float, 3> Trans{};
    std::array<float, 3> Angl{};
    std::vector<TOneRecAtom> ArrAtoms;
};

} // namespace ormaline
