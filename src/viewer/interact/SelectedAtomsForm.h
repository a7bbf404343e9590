// The "Selected Atoms" window: the report of the selected atoms in a read-only memo with
// a vertical scroll bar, and an "Ok" button in a panel below it.
#pragma once

#include <QDialog>

#include <string>

class QPlainTextEdit;
class QPushButton;

namespace ormaline {

class TSelectedAtomsForm : public QDialog {
    Q_OBJECT
public:
    // `report` has CR LF line ends.
    TSelectedAtomsForm(const std::string& report, QWidget* parent = nullptr);

    QPlainTextEdit* Memo = nullptr;
    QPushButton* OkButton = nullptr;
};

} // namespace ormaline
