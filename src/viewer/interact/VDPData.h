// The neighbour table of an atom ("VDP Data"): one row per bond with the partner, whether
// the bond is open, the partner's fractional position and the bond length. A click on a
// column header sorts by that column, turning the direction over each time; a right
// click gives the mean and variance of the column. The rows and their rules are the
// interaction core's (NeighbourTable.h); this window only shows them.
#pragma once

#include "viewer/core/SceneRecords.h"
#include "viewer/interact/core/NeighbourTable.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace ormaline {

class TListViewForm : public QDialog {
    Q_OBJECT
public:
    explicit TListViewForm(QWidget* parent = nullptr);

    // Fills the table with the bonds of `node`, sorted by bond length and numbered.
    void Fill(const tTopAt& node);

    void ListView1ColumnClick(int column);
    void ListView1ColumnRightClick(int column);
    int ListView1Compare(const TNeighbourRow& row1, const TNeighbourRow& row2) const;

    // The rows as shown, top to bottom.
    std::vector<TNeighbourRow> Rows() const;
    const TNeighbourSort& Sort() const { return sort_; }

    QTreeWidget* ListView1 = nullptr;
    QPushButton* Button1 = nullptr; // "Cancel"
    QPushButton* Button2 = nullptr; // "Hide selected object"

private:
    void Show(const std::vector<TNeighbourRow>& rows, const std::vector<bool>& selected);
    void SortRows();

    TNeighbourSort sort_;
};

} // namespace ormaline
