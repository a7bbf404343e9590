#include "viewer/interact/core/AtomDescription.h"

#include "model/ElementCodes.h"
#include "model/NumberFormat.h"
#include "model/ShortString.h"

#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace ormaline {
namespace {

// Fractional coordinate of a node along one axis: its translation plus its atom's position.
double Fractional(const tTopAt& node, std::size_t axis) {
    return node.t[axis] + node.pSAt->A.k[axis];
}

std::string Symbol(const tTopAt& node) {
    return std::string(ElSymbol(node.pSAt != nullptr ? node.pSAt->A.n : 0));
}

} // namespace

TAtomDescription WrAtom(const tTopAt& TA, const ShIVector& trans, std::uint16_t numSeeBond) {
    std::array<int, 6> counts{};
    std::vector<std::pair<std::string, int>> partners;
    for (const tBoundAt* bond = TA.p; bond != nullptr; bond = bond->li) {
        if ((bond->cb & numSeeBond) == 0)
            continue;
        for (std::size_t kind = 0; kind < counts.size(); ++kind)
            if ((bond->cb & (1u << kind)) != 0)
                ++counts[kind];
        if ((bond->c & kBondShown) == 0 || bond->p == nullptr)
            continue;
        const std::string symbol = Symbol(*bond->p);
        auto found = partners.begin();
        while (found != partners.end() && found->first != symbol)
            ++found;
        if (found == partners.end())
            partners.emplace_back(symbol, 1);
        else
            ++found->second;
    }
    std::string cn;
    for (std::size_t kind = 0; kind < counts.size(); ++kind)
        cn += (kind == 0 ? "" : ":") + std::to_string(counts[kind]);
    std::string cp;
    for (const auto& [symbol, count] : partners)
        cp += symbol + std::to_string(count);

    TAtomDescription description;
    // The texts are short strings of 20 and 30 characters.
    description.StrCN = TShortString<20>(cn).Str();
    description.StrCP = TShortString<30>(cp).Str();
    std::string& text = description.text;
    text = " " + Symbol(TA) + std::to_string(TA.pSAt->A.i) + " (";
    for (std::size_t axis = 0; axis < 3; ++axis)
        text += FormatFixed(Fractional(TA, axis), 7, 4);
    text += ") ";
    if (trans[0] != 0 || trans[1] != 0 || trans[2] != 0)
        text += "t(" + std::to_string(trans[0]) + "," + std::to_string(trans[1]) + "," +
                std::to_string(trans[2]) + ")";
    text += "  CN(" + description.StrCN + ")";
    if (!partners.empty())
        text += "  CP: " + description.StrCP;
    if (std::abs(TA.param) > 0.001f)
        text += " " + FormatFixed(TA.param, 3);
    return description;
}

std::string AtomCaption(const tTopAt& TA) {
    std::string caption = " " + Symbol(TA) + "(" + std::to_string(TA.pSAt->A.i) + ") (";
    for (std::size_t axis = 0; axis < 3; ++axis)
        caption += (axis == 0 ? "" : ",") + FormatFixed(Fractional(TA, axis), 6, 3);
    return caption + ")";
}

} // namespace ormaline
