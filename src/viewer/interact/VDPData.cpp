#include "viewer/interact/VDPData.h"

#include "platform/UserDialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ormaline {

TListViewForm::TListViewForm(QWidget* parent) : QDialog(parent) {
    setObjectName("ListViewForm");
    setWindowTitle("VDP Data");
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSortingEnabled(false);
    QStringList captions;
    for (const char* caption : kNeighbourCaptions)
        captions << caption;
    ListView1->setHeaderLabels(captions);
    QHeaderView* header = ListView1->header();
    header->setSectionsClickable(true);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { ListView1ColumnClick(column); });
    connect(header, &QHeaderView::customContextMenuRequested, this, [this, header](QPoint at) {
        const int column = header->logicalIndexAt(at);
        if (column >= 0)
            ListView1ColumnRightClick(column);
    });
    Button1 = new QPushButton("Cancel", this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton("Hide selected object", this);
    Button2->setObjectName("Button2");
    Button2->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListView1);
    layout->addLayout(buttons);
    resize(460, 300);
}

std::vector<TNeighbourRow> TListViewForm::Rows() const {
    std::vector<TNeighbourRow> rows;
    for (int k = 0; k < ListView1->topLevelItemCount(); ++k) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(k);
        TNeighbourRow row;
        for (int column = 0; column < kNeighbourColumns; ++column)
            row[static_cast<std::size_t>(column)] = item->text(column).toStdString();
        rows.push_back(row);
    }
    return rows;
}

void TListViewForm::Show(const std::vector<TNeighbourRow>& rows,
                         const std::vector<bool>& selected) {
    ListView1->clear();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        auto* item = new QTreeWidgetItem(ListView1);
        for (int column = 0; column < kNeighbourColumns; ++column) {
            item->setText(column,
                          QString::fromStdString(rows[k][static_cast<std::size_t>(column)]));
            if (column != 1)
                item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
        item->setSelected(k < selected.size() && selected[k]);
    }
    for (int column = 0; column < kNeighbourColumns; ++column)
        ListView1->resizeColumnToContents(column);
}

void TListViewForm::SortRows() {
    // The selection travels with its rows.
    const std::vector<TNeighbourRow> rows = Rows();
    std::vector<TNeighbourRow> sorted;
    std::vector<bool> selected;
    for (const std::size_t k : NeighbourOrder(rows, sort_)) {
        sorted.push_back(rows[k]);
        selected.push_back(ListView1->topLevelItem(static_cast<int>(k))->isSelected());
    }
    Show(sorted, selected);
}

void TListViewForm::Fill(const tTopAt& node) {
    setWindowTitle(QString::fromStdString(NeighbourCaption(node)));
    std::vector<TNeighbourRow> rows = NeighbourRows(node);
    sort_.RightClick = false;
    sort_.SortColumn = 6;
    SortNeighbourRows(rows, sort_);
    NumberNeighbourRows(rows);
    Show(rows, {});
}

int TListViewForm::ListView1Compare(const TNeighbourRow& row1, const TNeighbourRow& row2) const {
    return ormaline::ListView1Compare(row1, row2, sort_);
}

void TListViewForm::ListView1ColumnClick(int column) {
    TurnToColumn(sort_, column);
    SortRows();
}

void TListViewForm::ListView1ColumnRightClick(int column) {
    const std::vector<TNeighbourRow> rows = Rows();
    std::vector<const TNeighbourRow*> examined;
    for (int k = 0; k < ListView1->topLevelItemCount(); ++k)
        if (ListView1->topLevelItem(k)->isSelected())
            examined.push_back(&rows[static_cast<std::size_t>(k)]);
    if (examined.empty())
        for (const TNeighbourRow& row : rows)
            examined.push_back(&row);
    if (const std::optional<std::string> message = ColumnStatistics(examined, column))
        Dialogs().Information(*message);
}

} // namespace ormaline
