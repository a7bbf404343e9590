#include "viewer/interact/LimRect.h"

#include "model/NumberFormat.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace ormaline {

TFLimRect::TFLimRect(QWidget* parent) : QDialog(parent) {
    setWindowTitle("LimRect");
    setObjectName("TFLimRect");
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Limits", this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel("Min", group), 0, 1);
    grid->addWidget(new QLabel("Max", group), 0, 2);
    const char* rows[3] = {"a:", "b:", "c:"};
    const char* names[6] = {"XMinEdit", "XMaxEdit", "YMinEdit", "YMaxEdit", "ZMinEdit", "ZMaxEdit"};
    QLineEdit** edits[6] = {&XMinEdit, &XMaxEdit, &YMinEdit, &YMaxEdit, &ZMinEdit, &ZMaxEdit};
    for (int i = 0; i < 6; ++i) {
        *edits[i] = new QLineEdit(group);
        (*edits[i])->setObjectName(names[i]);
        grid->addWidget(*edits[i], i / 2 + 1, i % 2 + 1);
    }
    for (int row = 0; row < 3; ++row)
        grid->addWidget(new QLabel(rows[row], group), row + 1, 0);
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::array<QLineEdit*, 6> TFLimRect::Edits() const {
    return {XMinEdit, XMaxEdit, YMinEdit, YMaxEdit, ZMinEdit, ZMaxEdit};
}

void TFLimRect::SetLimits(const TRegionLimits& limits) {
    const std::array<QLineEdit*, 6> edits = Edits();
    for (std::size_t i = 0; i < 6; ++i)
        edits[i]->setText(QString::fromStdString(FormatFixed(limits[i], 1)));
}

std::array<std::string, 6> TFLimRect::Texts() const {
    std::array<std::string, 6> texts;
    const std::array<QLineEdit*, 6> edits = Edits();
    for (std::size_t i = 0; i < 6; ++i)
        texts[i] = edits[i]->text().toStdString();
    return texts;
}

} // namespace ormaline
