// A grid of texts in the manner of the system's result grids.
//
// Row 0 holds the header texts as an ordinary row: it scrolls with the data and can
// be selected; data rows start at row 1. Column 0 is a fixed column (drawn as a
// header). A column of width -1 is hidden. `Row()` is the current row. Whole rows
// are selected.
//
// When an update ends, the columns are sized to their contents: never narrower than
// the width the program set, never wider than a bound, measured on the first rows only
// so that a fill of many rows stays fast. The user sizes a column by dragging the line
// at its right edge; a column sized so keeps the user's width.
//
// Cells are kept as UTF-8 texts and turned into Qt strings only when drawn, so that
// filling a grid with many rows costs little more than building the strings.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <string>
#include <vector>

namespace ormaline {

class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StringGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void SetEditable(bool editable) { editable_ = editable; }
    void SetSize(int columns, int rows);
    const std::string& Cell(int column, int row) const;
    void SetCell(int column, int row, std::string text);
    // While an update is open, changes are gathered and shown once at its end.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateDepth_ > 0; }

private:
    std::size_t Offset(int column, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(column);
    }
    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::string> cells_;
    int updateDepth_ = 0;
    bool editable_ = false;
};

class StringGrid : public QTableView {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);

    int ColCount() const { return model_->columnCount(); }
    int RowCount() const { return model_->rowCount(); }
    void SetColCount(int columns);
    // Rows past the new count are dropped; new rows are empty. The grid keeps at
    // least one row (the header row).
    void SetRowCount(int rows);

    const std::string& Cell(int column, int row) const { return model_->Cell(column, row); }
    void SetCell(int column, int row, std::string text) {
        model_->SetCell(column, row, std::move(text));
    }
    // Sets the texts of one row from its first column on.
    void SetRowTexts(int row, const std::vector<std::string>& texts);
    std::vector<std::string> RowTexts(int row) const;

    // Width -1 hides the column.
    void SetColWidth(int column, int width);
    int ColWidth(int column) const;

    // The current row; 0 (the header row) when nothing else was chosen.
    int Row() const;
    void SetRow(int row);
    // True when the grid has a data row and its current row is a data row.
    bool HasCurrentDataRow() const { return RowCount() > 1 && Row() >= 1; }

    void SetEditable(bool editable);
    void BeginUpdate() { model_->BeginUpdate(); }
    // Ends an update; the outermost end sizes the columns to their contents.
    void EndUpdate();
    // Sizes every visible column the user has not sized to its contents.
    void FitColumnsToContents();
    // True when the user has dragged the column's width.
    bool ColumnSizedByUser(int column) const;

    // Resets the grid to one row holding the header texts.
    void ResetToHeader(const std::vector<std::string>& headers);

    StringGridModel* GridModel() const { return model_; }

    // The width a column needs to show `text` whole.
    int TextWidth(const std::string& text) const;

    static constexpr int kDefaultColumnWidth = 64;
    // Contents are measured on this many rows at most, and widened to this width at most.
    static constexpr int kFitRows = 256;
    static constexpr int kFitMaxWidth = 480;

signals:
    void CurrentRowChanged(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The visible column whose right edge is within reach of viewport position x, or -1.
    int ColumnEdgeAt(int x) const;
    int BaseWidth(int column) const;

    StringGridModel* model_;
    std::vector<int> baseWidths_; // widths the program set, by column (0: not set)
    std::vector<bool> userSized_; // columns the user has sized
    int resizingColumn_ = -1;     // the column being dragged
    int resizeOrigin_ = 0;        // its left edge in viewport coordinates
};

} // namespace ormaline
