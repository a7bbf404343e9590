#include "viewer/interact/core/NeighbourTable.h"

#include "model/ElementCodes.h"
#include "model/NumberFormat.h"
#include "model/TextUtil.h"
#include "viewer/interact/core/AtomDescription.h"

#include <algorithm>
#include <cctype>

namespace ormaline {
namespace {

constexpr double kNotANumber = 10000000.0;

double NumberOr(const std::string& text) {
    const std::optional<double> value = ParseNumber(text);
    return value ? *value : kNotANumber;
}

int SignOf(double difference) {
    return difference < 0.0 ? -1 : difference > 0.0 ? 1 : 0;
}

int CompareTexts(const std::string& a, const std::string& b) {
    const std::size_t length = std::min(a.size(), b.size());
    for (std::size_t k = 0; k < length; ++k) {
        const int x = std::tolower(static_cast<unsigned char>(a[k]));
        const int y = std::tolower(static_cast<unsigned char>(b[k]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

} // namespace

std::string NeighbourCaption(const tTopAt& node) {
    return AtomCaption(node);
}

std::vector<TNeighbourRow> NeighbourRows(const tTopAt& node) {
    std::vector<TNeighbourRow> rows;
    for (const tBoundAt* bond = node.p; bond != nullptr; bond = bond->li) {
        const tTopAt& partner = *bond->p;
        TNeighbourRow row;
        const tSAtom* atom = partner.pSAt != nullptr ? &partner.pSAt->A : nullptr;
        row[1] = std::string(ElSymbol(atom != nullptr ? atom->n : 0)) + "(" +
                 std::to_string(atom != nullptr ? atom->i : 0) + ")";
        row[2] = (bond->c & kBondOpen) != 0 ? "+" : "-";
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const double coordinate =
                partner.t[axis] + (atom != nullptr ? atom->k[axis] : 0.0) + bond->t[axis];
            row[3 + axis] = FormatFixed(coordinate, 6, 3);
        }
        row[6] = FormatFixed(bond->r, 7, 3);
        rows.push_back(std::move(row));
    }
    return rows;
}

int ListView1Compare(const TNeighbourRow& row1, const TNeighbourRow& row2,
                     const TNeighbourSort& sort) {
    const std::size_t column = static_cast<std::size_t>(std::clamp(sort.SortColumn, 0, 6));
    const int result = column == 1 ? CompareTexts(row1[1], row2[1])
                                   : SignOf(NumberOr(row1[column]) - NumberOr(row2[column]));
    return sort.RightClick ? -result : result;
}

std::vector<std::size_t> NeighbourOrder(const std::vector<TNeighbourRow>& rows,
                                        const TNeighbourSort& sort) {
    std::vector<std::size_t> order(rows.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return ListView1Compare(rows[a], rows[b], sort) < 0;
    });
    return order;
}

void SortNeighbourRows(std::vector<TNeighbourRow>& rows, const TNeighbourSort& sort) {
    std::vector<TNeighbourRow> sorted;
    for (const std::size_t k : NeighbourOrder(rows, sort))
        sorted.push_back(std::move(rows[k]));
    rows = std::move(sorted);
}

void NumberNeighbourRows(std::vector<TNeighbourRow>& rows) {
    for (std::size_t k = 0; k < rows.size(); ++k)
        rows[k][0] = std::to_string(k + 1);
}

void TurnToColumn(TNeighbourSort& sort, int column) {
    sort.RightClick = !sort.RightClick;
    sort.SortColumn = column;
}

void ClickNeighbourColumn(std::vector<TNeighbourRow>& rows, TNeighbourSort& sort, int column) {
    TurnToColumn(sort, column);
    SortNeighbourRows(rows, sort);
}

std::optional<std::string> ColumnStatistics(const std::vector<const TNeighbourRow*>& rows,
                                            int column) {
    if (column <= 0 || column >= kNeighbourColumns)
        return std::nullopt;
    std::vector<double> values;
    bool lastIsNumber = false;
    for (const TNeighbourRow* row : rows) {
        const std::optional<double> value = ParseNumber((*row)[static_cast<std::size_t>(column)]);
        lastIsNumber = value.has_value();
        if (value)
            values.push_back(*value);
    }
    if (values.empty())
        return std::nullopt;
    double sum = 0.0;
    for (const double value : values)
        sum += value;
    const double mean = sum / static_cast<double>(values.size());
    double squares = 0.0;
    for (const double value : values)
        squares += (value - mean) * (value - mean);
    const double variance = squares / static_cast<double>(values.size());
    if (!(mean > 1e-7) || !lastIsNumber)
        return std::nullopt;
    return "Mean of Column (" + std::string(kNeighbourCaptions[static_cast<std::size_t>(column)]) +
           ") in number " + std::to_string(values.size()) +
           " equal to: " + FormatFixed(mean, 7, 4) + "(" + FormatFixed(variance, 7, 4) + ")";
}

} // namespace ormaline
