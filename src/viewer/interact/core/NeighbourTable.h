// The rows of the neighbour table of an atom: one per bond, with the partner, whether
// the bond is open, the partner's fractional position and the bond length; their
// comparison by column, and the statistics of a numeric column.
#pragma once

#include "viewer/core/SceneRecords.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace ormaline {

inline constexpr int kNeighbourColumns = 7;
inline constexpr std::array<const char*, kNeighbourColumns> kNeighbourCaptions = {
    "N", "Atom", "T", "X", "Y", "Z", "r, A"};

// One row: the texts of columns 0..6.
using TNeighbourRow = std::array<std::string, kNeighbourColumns>;

// The sort state of the table: the column compared on (process-wide in the dialog) and
// whether the order is descending.
struct TNeighbourSort {
    int SortColumn = 6;
    bool RightClick = false;
};

// " " + symbol + "(" + index + ") (" + x + "," + y + "," + z + ")".
std::string NeighbourCaption(const tTopAt& node);
// The rows of the node's bonds in bond-list order, column 0 empty.
std::vector<TNeighbourRow> NeighbourRows(const tTopAt& node);

// −1, 0 or 1: the column's texts as numbers (column 1 as text, without regard to case);
// a text that is not a number counts as 10,000,000. Negated when RightClick is set.
int ListView1Compare(const TNeighbourRow& row1, const TNeighbourRow& row2,
                     const TNeighbourSort& sort);
// The positions of the rows in the order of the sort state (equal rows keep their
// order), and the rows sorted so.
std::vector<std::size_t> NeighbourOrder(const std::vector<TNeighbourRow>& rows,
                                        const TNeighbourSort& sort);
void SortNeighbourRows(std::vector<TNeighbourRow>& rows, const TNeighbourSort& sort);
// Column 0 := 1, 2, ... in the current order.
void NumberNeighbourRows(std::vector<TNeighbourRow>& rows);
// A click on a column header: the direction turns over and the column becomes the sort
// column; ClickNeighbourColumn sorts the rows by it too.
void TurnToColumn(TNeighbourSort& sort, int column);
void ClickNeighbourColumn(std::vector<TNeighbourRow>& rows, TNeighbourSort& sort, int column);

// The message of the statistics of a column over the rows given (all rows, or the
// selected ones): mean and population variance of the texts that are numbers; nothing
// for column 0, without numbers, when the mean is not above 1e-7 or when the last row
// examined holds no number.
std::optional<std::string> ColumnStatistics(const std::vector<const TNeighbourRow*>& rows,
                                            int column);

} // namespace ormaline
