#include "platform/StringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPalette>

#include <algorithm>
#include <cstdlib>

namespace ormaline {

namespace {
const std::string kEmpty;
constexpr int kEdgeReach = 3;    // pixels either side of a column line that grab it
constexpr int kCellPadding = 12; // room for the cell's margins beside its text
constexpr int kMinColumnWidth = 8;
} // namespace

StringGridModel::StringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(cells_[Offset(index.column(), index.row())]);
    if (role == Qt::BackgroundRole && (index.row() == 0 || index.column() == 0))
        return QApplication::palette().button();
    return {};
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    SetCell(index.column(), index.row(), value.toString().toStdString());
    return true;
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable_ && index.column() > 0 && index.row() > 0)
        result |= Qt::ItemIsEditable;
    return result;
}

void StringGridModel::SetSize(int columns, int rows) {
    columns = std::max(columns, 0);
    rows = std::max(rows, 0);
    if (columns == columns_ && rows == rows_)
        return;
    if (columns == columns_) {
        // Rows only: the cells of the kept rows stay where they are. Outside an update
        // the views are told which rows came or went.
        bool notify = updateDepth_ == 0;
        if (rows > rows_) {
            if (notify)
                beginInsertRows(QModelIndex(), rows_, rows - 1);
            cells_.resize(Offset(0, rows));
            rows_ = rows;
            if (notify)
                endInsertRows();
        } else {
            if (notify)
                beginRemoveRows(QModelIndex(), rows, rows_ - 1);
            cells_.resize(Offset(0, rows));
            rows_ = rows;
            if (notify)
                endRemoveRows();
        }
        return;
    }
    if (updateDepth_ == 0)
        beginResetModel();
    std::vector<std::string> cells(static_cast<std::size_t>(columns) *
                                   static_cast<std::size_t>(rows));
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(columns, columns_); ++c)
            cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) +
                  static_cast<std::size_t>(c)] = std::move(cells_[Offset(c, r)]);
    cells_ = std::move(cells);
    columns_ = columns;
    rows_ = rows;
    if (updateDepth_ == 0)
        endResetModel();
}

const std::string& StringGridModel::Cell(int column, int row) const {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return kEmpty;
    return cells_[Offset(column, row)];
}

void StringGridModel::SetCell(int column, int row, std::string text) {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return;
    cells_[Offset(column, row)] = std::move(text);
    if (updateDepth_ == 0) {
        QModelIndex changed = index(row, column);
        emit dataChanged(changed, changed);
    }
}

void StringGridModel::BeginUpdate() {
    if (updateDepth_++ == 0)
        beginResetModel();
}

void StringGridModel::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0)
        endResetModel();
}

StringGrid::StringGrid(QWidget* parent) : QTableView(parent), model_(new StringGridModel(this)) {
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    viewport()->setMouseTracking(true); // the cursor shows where a column line can be dragged
    model_->SetSize(5, 1);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                emit CurrentRowChanged(current.isValid() ? current.row() : 0);
            });
    // A model reset forgets the current index; the grid then stands on its header row.
    connect(model_, &QAbstractItemModel::modelReset, this,
            [this] { emit CurrentRowChanged(Row()); });
}

void StringGrid::SetColCount(int columns) {
    model_->SetSize(columns, model_->rowCount());
}

void StringGrid::SetRowCount(int rows) {
    model_->SetSize(model_->columnCount(), std::max(rows, 1));
}

void StringGrid::SetRowTexts(int row, const std::vector<std::string>& texts) {
    for (std::size_t c = 0; c < texts.size(); ++c)
        model_->SetCell(static_cast<int>(c), row, texts[c]);
}

std::vector<std::string> StringGrid::RowTexts(int row) const {
    std::vector<std::string> texts;
    for (int c = 0; c < ColCount(); ++c)
        texts.push_back(Cell(c, row));
    return texts;
}

void StringGrid::SetColWidth(int column, int width) {
    if (column < 0)
        return;
    const auto index = static_cast<std::size_t>(column);
    if (baseWidths_.size() <= index) {
        baseWidths_.resize(index + 1, 0);
        userSized_.resize(index + 1, false);
    }
    if (width < 0) {
        setColumnHidden(column, true);
        return;
    }
    baseWidths_[index] = width;
    userSized_[index] = false;
    setColumnHidden(column, false);
    setColumnWidth(column, width);
}

int StringGrid::BaseWidth(int column) const {
    const auto index = static_cast<std::size_t>(column);
    return index < baseWidths_.size() && baseWidths_[index] > 0 ? baseWidths_[index]
                                                                : kDefaultColumnWidth;
}

bool StringGrid::ColumnSizedByUser(int column) const {
    const auto index = static_cast<std::size_t>(column);
    return column >= 0 && index < userSized_.size() && userSized_[index];
}

void StringGrid::EndUpdate() {
    model_->EndUpdate();
    if (!model_->Updating())
        FitColumnsToContents();
}

void StringGrid::FitColumnsToContents() {
    const int rows = std::min(RowCount(), kFitRows);
    for (int column = 0; column < ColCount(); ++column) {
        if (isColumnHidden(column) || ColumnSizedByUser(column))
            continue;
        int widest = 0;
        for (int row = 0; row < rows; ++row) {
            const std::string& text = Cell(column, row);
            if (!text.empty())
                widest = std::max(widest, TextWidth(text));
        }
        setColumnWidth(column, std::max(BaseWidth(column), std::min(widest, kFitMaxWidth)));
    }
}

int StringGrid::TextWidth(const std::string& text) const {
    return fontMetrics().horizontalAdvance(QString::fromStdString(text)) + kCellPadding;
}

int StringGrid::ColumnEdgeAt(int x) const {
    for (int column = 0; column < ColCount(); ++column) {
        if (isColumnHidden(column))
            continue;
        const int edge = columnViewportPosition(column) + columnWidth(column);
        if (std::abs(x - edge) <= kEdgeReach)
            return column;
    }
    return -1;
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x());
    const int column = event->button() == Qt::LeftButton ? ColumnEdgeAt(x) : -1;
    if (column < 0) {
        QTableView::mousePressEvent(event);
        return;
    }
    resizingColumn_ = column;
    resizeOrigin_ = columnViewportPosition(column);
    event->accept();
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x());
    if (resizingColumn_ >= 0) {
        setColumnWidth(resizingColumn_, std::max(kMinColumnWidth, x - resizeOrigin_));
        event->accept();
        return;
    }
    if (event->buttons() == Qt::NoButton && ColumnEdgeAt(x) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QTableView::mouseMoveEvent(event);
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (resizingColumn_ < 0) {
        QTableView::mouseReleaseEvent(event);
        return;
    }
    const auto index = static_cast<std::size_t>(resizingColumn_);
    if (userSized_.size() <= index) {
        userSized_.resize(index + 1, false);
        baseWidths_.resize(index + 1, 0);
    }
    userSized_[index] = true;
    resizingColumn_ = -1;
    event->accept();
}

int StringGrid::ColWidth(int column) const {
    return isColumnHidden(column) ? -1 : columnWidth(column);
}

int StringGrid::Row() const {
    QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : 0;
}

void StringGrid::SetRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    int column = 0;
    while (column < ColCount() - 1 && isColumnHidden(column))
        ++column;
    setCurrentIndex(model_->index(row, column));
    selectRow(row);
}

void StringGrid::SetEditable(bool editable) {
    model_->SetEditable(editable);
    setEditTriggers(editable
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);
}

void StringGrid::ResetToHeader(const std::vector<std::string>& headers) {
    model_->BeginUpdate();
    model_->SetSize(static_cast<int>(headers.size()), 1);
    for (std::size_t c = 0; c < headers.size(); ++c)
        model_->SetCell(static_cast<int>(c), 0, headers[c]);
    model_->EndUpdate();
}

} // namespace ormaline
