// The magic-wand dialog "Magic Wand": the command, the fill style and what it is done
// for. One instance lives for the whole process; each use presets it from the window's
// last choices and from what was clicked.
#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QPushButton;

namespace ormaline {

class TMagicWandForm : public QDialog {
    Q_OBJECT
public:
    explicit TMagicWandForm(QWidget* parent = nullptr);

    // "Do for" index 0..5 ("Atom" .. "All Atoms").
    int DoforIndex() const;
    void SetDoforIndex(int index);

    QComboBox* CommandComboBox = nullptr;
    QComboBox* ImageComboBox = nullptr;
    QGroupBox* DoforGroup = nullptr;
    QFrame* ColorPanel = nullptr;
    QPushButton* ChangeColorButton = nullptr;

private:
    QButtonGroup* dofor_ = nullptr;
};

// The process-wide dialog; made at start-up by CreateMagicWandForm (or at first use).
TMagicWandForm& MagicWandForm();
void CreateMagicWandForm();

} // namespace ormaline
