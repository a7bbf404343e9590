// A grid over the screen squares of the nodes' projected positions (ik, jk and rk as
// GetIntK stored them, model units in screen axes), so that finding the node under the
// mouse looks at the few nodes near the point instead of the whole scene. It holds
// positions as they were when it was built; its owner rebuilds it after every new
// projection and every change of the node list.
#pragma once

#include <cstdint>
#include <vector>

namespace ormaline {

struct tTopAt;

class TPickIndex {
public:
    // A node whose square may hold the point, with its position in the list (from 0) and
    // its projected values as they were when the index was built.
    struct TEntry {
        float ik, jk, hk, rk;
        std::uint32_t ordinal;
        tTopAt* node;
    };

    bool ValidFor(std::uint64_t projection, std::uint64_t nodeList) const {
        return built_ && projection_ == projection && nodeList_ == nodeList;
    }
    // Every node of the list from `head` with a positive projected radius.
    void Build(tTopAt* head, std::uint64_t projection, std::uint64_t nodeList);
    void Clear();

    // Calls visit(entry) for every node whose square may contain the point (a, b); the
    // caller applies the exact test. The order of the calls is not the list order.
    template <class Visit> void ForCandidates(double a, double b, Visit&& visit) const {
        for (std::uint32_t index : large_)
            visit(entries_[index]);
        const long long column = CellOf(a - originX_), row = CellOf(b - originY_);
        if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
            return;
        const std::size_t cell = static_cast<std::size_t>(row * columns_ + column);
        for (std::uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k)
            visit(entries_[cellEntries_[k]]);
    }

private:
    long long CellOf(double offset) const;

    bool built_ = false;
    std::uint64_t projection_ = 0, nodeList_ = 0;
    std::vector<TEntry> entries_;
    // Nodes whose square covers many cells are looked at for every point.
    std::vector<std::uint32_t> large_;
    // Cell c holds cellEntries_[cellStart_[c] .. cellStart_[c + 1]).
    std::vector<std::uint32_t> cellStart_;
    std::vector<std::uint32_t> cellEntries_;
    double originX_ = 0, originY_ = 0, cell_ = 1;
    long long columns_ = 0, rows_ = 0;
};

} // namespace ormaline
