// The element table dialog "Element Table": a periodic table of 121 element buttons
// and the group buttons. In selection mode it edits a text of included and excluded
// element symbols; in radius mode it edits the element radii of a viewer window and
// loads and saves radius files. One instance lives for the whole process.
#pragma once

#include "model/OurData.h"
#include "viewer/ElementSelection.h"
#include "viewer/core/ElementTables.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ormaline {

class TElementForm : public QDialog {
    Q_OBJECT
public:
    explicit TElementForm(QWidget* parent = nullptr);

    // Selection entry: the edit's text is shown, the dialog runs modally and on OK the
    // edit receives the result text. True on OK.
    bool SelectElements(QLineEdit& edit, const QString& caption);
    // Radius entry: edits `radii` (defaults `defaults`); true on OK, `radii` then holds
    // the edited table.
    bool EditRadii(TElementValues& radii, const TElementValues& defaults);

    // Prepares the dialog without showing it (the entries call these before exec).
    void SetRadiusMode(bool on);
    void InitEl(const std::string& text, const ElementCodeSet& set);
    ElementCodeSet ElToSet() const;
    // What the element and group buttons do when they are clicked.
    void ElementButtonClick(int code, bool down);
    void GroupButtonClick(int tag);
    void PSClick();
    void AllDownClick();
    void AllUpClick();
    void ApplyClick();
    void DefaultClick();
    void LoadClick();
    void SaveClick();
    // The dialog closed with OK: GStrEl trimmed, the caller's set filled.
    void OkClick();
    std::string EditText() const;

    int SqNumEl = 0;
    int CurrEl = 0;
    std::string GStrEl;
    TElementSelection Lists; // StrDownEl and StrUpEl
    bool OneSelect = false;
    TArrOfElement AME;
    ElementCodeSet* PSetEl = nullptr;
    TElementValues ArrData{};
    TElementValues SurceArrData{};
    std::string DataFileName;

    std::array<QToolButton*, kElementTableSize> btnEl{};
    std::vector<QToolButton*> btnGroup;
    QLineEdit* edElements = nullptr;
    QPushButton* btnPS = nullptr;
    QPushButton* btnAllDown = nullptr;
    QPushButton* btnAllUp = nullptr;
    QPushButton* btnApply = nullptr;
    QPushButton* btnDefault = nullptr;
    QPushButton* btnLoad = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ShowLists();
    void ShowCurrentRadius();
    void SetAllButtons(bool down, const std::vector<int>& except = {});
    QButtonGroup* radioGroup_ = nullptr;
};

// The process's element table dialog; made on first use when start-up has not made it.
TElementForm& ElementDialog();
// Made by the program at start-up, after the main window.
void CreateElementDialog();

} // namespace ormaline
