#include "viewer/core/PickIndex.h"

#include "viewer/core/SceneRecords.h"

#include <algorithm>
#include <cmath>

namespace ormaline {
namespace {

// A node whose square spans more cells than this is kept out of the grid.
constexpr long long kMaxCellsPerNode = 16;

} // namespace

void TPickIndex::Clear() {
    built_ = false;
    entries_.clear();
    large_.clear();
    cellStart_.clear();
    cellEntries_.clear();
    columns_ = rows_ = 0;
}

long long TPickIndex::CellOf(double offset) const {
    const double cell = std::floor(offset / cell_);
    // Far outside the grid (or not a number): a cell no query finds.
    if (!(cell > -1e15 && cell < 1e15))
        return -1;
    return static_cast<long long>(cell);
}

void TPickIndex::Build(tTopAt* head, std::uint64_t projection, std::uint64_t nodeList) {
    Clear();
    std::uint32_t ordinal = 0;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (tTopAt* node = head; node != nullptr; node = node->li, ++ordinal) {
        const double r = node->rk;
        if (!(r > 0) || !std::isfinite(r) || !std::isfinite(node->ik) || !std::isfinite(node->jk))
            continue;
        if (entries_.empty()) {
            minX = maxX = node->ik;
            minY = maxY = node->jk;
        }
        minX = std::min(minX, node->ik - r);
        maxX = std::max(maxX, node->ik + r);
        minY = std::min(minY, node->jk - r);
        maxY = std::max(maxY, node->jk + r);
        entries_.push_back({node->ik, node->jk, node->hk, node->rk, ordinal, node});
    }
    projection_ = projection;
    nodeList_ = nodeList;
    built_ = true;
    if (entries_.empty())
        return;

    // Cells about two typical radii wide, and not many more cells than nodes.
    std::vector<float> radii;
    radii.reserve(entries_.size());
    for (const TEntry& entry : entries_)
        radii.push_back(entry.rk);
    std::nth_element(radii.begin(), radii.begin() + static_cast<std::ptrdiff_t>(radii.size() / 2),
                     radii.end());
    const double width = maxX - minX, height = maxY - minY;
    const auto count = static_cast<double>(entries_.size());
    cell_ = std::max(2.0 * radii[radii.size() / 2], std::sqrt(width * height / count));
    if (!(cell_ > 0) || !std::isfinite(cell_))
        cell_ = 1.0;
    const double maxCells = 4.0 * count + 64.0;
    if ((width / cell_ + 1) * (height / cell_ + 1) > maxCells)
        cell_ = std::max(width, height) / std::sqrt(maxCells) + cell_;
    originX_ = minX;
    originY_ = minY;
    columns_ = static_cast<long long>(width / cell_) + 1;
    rows_ = static_cast<long long>(height / cell_) + 1;

    struct TSpan {
        long long c0, c1, r0, r1;
    };
    const auto span = [&](const TEntry& e) {
        const auto clampColumn = [&](double x) {
            return std::clamp<long long>(static_cast<long long>(std::floor(x / cell_)), 0,
                                         columns_ - 1);
        };
        const auto clampRow = [&](double y) {
            return std::clamp<long long>(static_cast<long long>(std::floor(y / cell_)), 0,
                                         rows_ - 1);
        };
        return TSpan{clampColumn(e.ik - e.rk - originX_), clampColumn(e.ik + e.rk - originX_),
                     clampRow(e.jk - e.rk - originY_), clampRow(e.jk + e.rk - originY_)};
    };
    cellStart_.assign(static_cast<std::size_t>(columns_ * rows_) + 1, 0);
    const auto eachCell = [&](const TSpan& s, auto&& use) {
        for (long long row = s.r0; row <= s.r1; ++row)
            for (long long column = s.c0; column <= s.c1; ++column)
                use(static_cast<std::size_t>(row * columns_ + column));
    };
    std::vector<TSpan> spans;
    spans.reserve(entries_.size());
    for (std::uint32_t index = 0; index < entries_.size(); ++index) {
        const TSpan s = span(entries_[index]);
        spans.push_back(s);
        if ((s.c1 - s.c0 + 1) * (s.r1 - s.r0 + 1) > kMaxCellsPerNode) {
            large_.push_back(index);
            continue;
        }
        eachCell(s, [&](std::size_t cell) { ++cellStart_[cell + 1]; });
    }
    for (std::size_t cell = 1; cell < cellStart_.size(); ++cell)
        cellStart_[cell] += cellStart_[cell - 1];
    cellEntries_.resize(cellStart_.back());
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::uint32_t index = 0; index < entries_.size(); ++index) {
        const TSpan& s = spans[index];
        if ((s.c1 - s.c0 + 1) * (s.r1 - s.r0 + 1) > kMaxCellsPerNode)
            continue;
        eachCell(s, [&](std::size_t cell) { cellEntries_[fill[cell]++] = index; });
    }
}

} // namespace ormaline
