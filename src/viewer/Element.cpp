#include "viewer/Element.h"

#include "model/ElementCodes.h"
#include "model/NumberFormat.h"
#include "model/TextUtil.h"
#include "platform/CommandDispatch.h"
#include "platform/UserDialogs.h"
#include "viewer/core/RadiusFile.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>
#include <memory>

namespace ormaline {
namespace {

// Grid place (row, column) of an element button; rows 1..7 periods, 8 and 9 the
// lanthanide and actinide rows, 10 the pseudo-elements; columns 1..18.
std::pair<int, int> PeriodicSlot(int code) {
    if (code == 0)
        return {10, 1};
    if (code == 1)
        return {1, 1};
    if (code == 2)
        return {1, 18};
    const auto shortPeriod = [](int first, int row, int code_) -> std::pair<int, int> {
        const int offset = code_ - first;
        return {row, offset < 2 ? offset + 1 : offset + 11};
    };
    if (code <= 10)
        return shortPeriod(3, 2, code);
    if (code <= 18)
        return shortPeriod(11, 3, code);
    if (code <= 36)
        return {4, code - 18};
    if (code <= 54)
        return {5, code - 36};
    if (code <= 57)
        return {6, code - 54};
    if (code <= 71)
        return {8, code - 54};
    if (code <= 86)
        return {6, code - 68};
    if (code <= 89)
        return {7, code - 86};
    if (code <= 103)
        return {9, code - 86};
    if (code <= 107)
        return {7, code - 100};
    return {10, code - 106};
}

struct TGroupButton {
    int tag;
    const char* caption;
    int row, column; // grid place: row 0 above the columns, column 0 left of the periods
};

std::vector<TGroupButton> GroupButtons() {
    std::vector<TGroupButton> buttons{{1, "1", 0, 1}, {2, "2", 0, 2}};
    for (int tag = 3; tag <= 8; ++tag)
        buttons.push_back({tag, nullptr, 0, tag + 10});
    for (int n = 3; n <= 12; ++n)
        buttons.push_back({kFirstColumnGroup + n - 3, nullptr, 0, n});
    static const char* periods[] = {"I", "II", "III", "IV", "V", "VI", "VII"};
    for (int period = 1; period <= 7; ++period)
        buttons.push_back({19 + period, periods[period - 1], period, 0});
    buttons.push_back({10, "Ln", 8, 0});
    buttons.push_back({11, "An", 9, 0});
    buttons.push_back({13, "Z", 10, 0});
    buttons.push_back({9, "Tr", 11, 1});
    buttons.push_back({17, "Tr1", 11, 2});
    buttons.push_back({18, "Tr2", 11, 3});
    buttons.push_back({19, "Tr3", 11, 4});
    buttons.push_back({15, "Me", 11, 5});
    buttons.push_back({14, "Nm", 11, 6});
    return buttons;
}

std::unique_ptr<TElementForm>& ElementDialogSlot() {
    static std::unique_ptr<TElementForm> dialog;
    return dialog;
}

} // namespace

TElementForm& ElementDialog() {
    if (!ElementDialogSlot())
        CreateElementDialog();
    return *ElementDialogSlot();
}

void CreateElementDialog() {
    if (ElementDialogSlot())
        return;
    ElementDialogSlot() = std::make_unique<TElementForm>();
    // Widgets must go before the application: the dialog is freed when the event loop
    // ends, and one still alive when the application is destroyed (no event loop ran)
    // is let go with the process instead of being freed after it.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                     [] { ElementDialogSlot().reset(); });
    qAddPostRoutine([] { (void)ElementDialogSlot().release(); });
}

TElementForm::TElementForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Element Table");
    setObjectName("TElementForm");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    for (int code = 0; code < kElementTableSize; ++code) {
        auto* button = new QToolButton(this);
        button->setCheckable(true);
        button->setText(code == 0 ? "E?"
                                  : QString::fromUtf8(ElSymbol(code).data(),
                                                      static_cast<int>(ElSymbol(code).size())));
        button->setProperty("Tag", code == 0 ? kUnknownElement : code);
        button->setMinimumWidth(30);
        const auto [row, column] = PeriodicSlot(code);
        grid->addWidget(button, row, column);
        connect(button, &QToolButton::clicked, this,
                [this, code](bool down) { ElementButtonClick(code, down); });
        btnEl[static_cast<std::size_t>(code)] = button;
    }
    for (const TGroupButton& group : GroupButtons()) {
        auto* button = new QToolButton(this);
        QString caption = group.caption != nullptr ? QString(group.caption) : QString();
        if (group.caption == nullptr)
            caption = group.tag >= kFirstColumnGroup
                          ? QString::number(group.tag - kFirstColumnGroup + 3)
                          : QString::number(group.tag + 10);
        button->setText(caption);
        button->setProperty("Tag", group.tag);
        grid->addWidget(button, group.row, group.column);
        const int tag = group.tag;
        connect(button, &QToolButton::clicked, this, [this, tag] { GroupButtonClick(tag); });
        btnGroup.push_back(button);
    }
    layout->addLayout(grid);
    edElements = new QLineEdit(this);
    edElements->setObjectName("edElements");
    layout->addWidget(edElements);
    auto* row = new QHBoxLayout;
    const auto button = [this, row](const char* caption, void (TElementForm::*handler)()) {
        auto* push = new QPushButton(caption, this);
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this,
                [this, handler] { RunCommand([&] { (this->*handler)(); }); });
        row->addWidget(push);
        return push;
    };
    btnPS = button("PS", &TElementForm::PSClick);
    btnAllDown = button("All Down", &TElementForm::AllDownClick);
    btnAllUp = button("All Up", &TElementForm::AllUpClick);
    btnApply = button("Apply", &TElementForm::ApplyClick);
    btnDefault = button("Default", &TElementForm::DefaultClick);
    btnLoad = button("Load", &TElementForm::LoadClick);
    btnSave = button("Save", &TElementForm::SaveClick);
    row->addStretch(1);
    btnOk = new QPushButton("OK", this);
    btnCancel = new QPushButton("Cancel", this);
    row->addWidget(btnOk);
    row->addWidget(btnCancel);
    connect(btnOk, &QPushButton::clicked, this, [this] {
        OkClick();
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(row);
    radioGroup_ = new QButtonGroup(this);
    radioGroup_->setExclusive(false);
    SetRadiusMode(false);
}

void TElementForm::SetRadiusMode(bool on) {
    OneSelect = on;
    FormShow();
}

void TElementForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
}

void TElementForm::FormShow() {
    for (QPushButton* push : {btnApply, btnDefault, btnLoad, btnSave})
        push->setVisible(OneSelect);
    btnAllDown->setEnabled(!OneSelect);
    for (QToolButton* group : btnGroup)
        group->setEnabled(!OneSelect);
    for (QToolButton* element : btnEl)
        radioGroup_->removeButton(element);
    if (OneSelect) {
        edElements->clear();
        Lists.AllUp();
        GStrEl.clear();
        SetAllButtons(false);
        // One radio group: exactly one button is down once one was pressed.
        for (QToolButton* element : btnEl)
            radioGroup_->addButton(element);
        radioGroup_->setExclusive(true);
    } else {
        radioGroup_->setExclusive(false);
    }
    for (int code = 0; code < kElementTableSize; ++code) {
        QFont font = btnEl[static_cast<std::size_t>(code)]->font();
        bool bold = false;
        if (!OneSelect)
            for (const t_element& element : AME)
                bold = bold || element.n == code;
        font.setBold(bold);
        btnEl[static_cast<std::size_t>(code)]->setFont(font);
    }
}

void TElementForm::SetAllButtons(bool down, const std::vector<int>& except) {
    const bool exclusive = radioGroup_->exclusive();
    radioGroup_->setExclusive(false);
    for (int code = 0; code < kElementTableSize; ++code) {
        bool state = down;
        for (int skipped : except)
            if (skipped == code)
                state = !down;
        btnEl[static_cast<std::size_t>(code)]->setChecked(state);
    }
    radioGroup_->setExclusive(exclusive);
}

void TElementForm::ShowLists() {
    GStrEl = Lists.Text();
    edElements->setText(QString::fromStdString(GStrEl));
}

void TElementForm::ShowCurrentRadius() {
    if (OneSelect && SqNumEl >= 0 && SqNumEl < kElementTableSize)
        edElements->setText(
            QString::fromStdString(FormatFixed(ArrData[static_cast<std::size_t>(SqNumEl)], 3)));
}

std::string TElementForm::EditText() const {
    return edElements->text().toStdString();
}

void TElementForm::InitEl(const std::string& text, const ElementCodeSet& set) {
    Lists.InitFromText(text);
    for (int code = 0; code < kElementTableSize; ++code)
        btnEl[static_cast<std::size_t>(code)]->setChecked(code > 0 && set.Contains(code));
    ShowLists();
}

ElementCodeSet TElementForm::ElToSet() const {
    ElementCodeSet set;
    for (int code = 1; code < kElementTableSize; ++code)
        if (btnEl[static_cast<std::size_t>(code)]->isChecked())
            set.Include(code);
    return set;
}

void TElementForm::ElementButtonClick(int code, bool down) {
    const std::string symbol(code == 0 ? std::string_view("E?") : ElSymbol(code));
    if (down)
        Lists.Press(symbol);
    else
        Lists.Release(symbol);
    ShowLists();
    if (OneSelect) {
        // Radius mode: the pressed element becomes the current one and shows its radius.
        SqNumEl = code;
        CurrEl = code;
        ShowCurrentRadius();
    }
}

void TElementForm::GroupButtonClick(int tag) {
    const ElementCodeSet set = ElementGroupSet(tag);
    for (int code = 1; code < kElementTableSize; ++code) {
        if (!set.Contains(code))
            continue;
        QToolButton* button = btnEl[static_cast<std::size_t>(code)];
        button->setChecked(!button->isChecked());
        ElementButtonClick(code, button->isChecked());
    }
}

void TElementForm::PSClick() {
    Lists.PS();
    std::vector<int> except{108, 109};
    for (int code = 111; code <= 120; ++code)
        except.push_back(code);
    except.push_back(0);
    SetAllButtons(true, except);
    ShowLists();
}

void TElementForm::AllDownClick() {
    Lists.AllDown();
    SetAllButtons(true, {0});
    ShowLists();
}

void TElementForm::AllUpClick() {
    Lists.AllUp();
    SetAllButtons(false);
    ShowLists();
}

void TElementForm::ApplyClick() {
    const std::optional<double> value = ParseNumber(EditText());
    if (!value || *value < 0 || *value > kMaxElementRadius || SqNumEl < 0 ||
        SqNumEl >= kElementTableSize) {
        Dialogs().Error("Error in atomic radius!");
        return;
    }
    ArrData[static_cast<std::size_t>(SqNumEl)] = static_cast<float>(*value);
}

void TElementForm::DefaultClick() {
    ArrData = SurceArrData;
    DataFileName.clear();
    ShowCurrentRadius();
}

namespace {

FileDialogRequest RadiusFileRequest(const std::string& fileName) {
    FileDialogRequest request;
    const std::filesystem::path path(fileName);
    request.fileName = path.filename().string();
    request.initialFolder = path.parent_path().string();
    request.filter = "Element data files (*.rad)|*.rad";
    request.defaultExtension = "rad";
    return request;
}

} // namespace

void TElementForm::LoadClick() {
    std::optional<std::string> name = Dialogs().OpenFileName(RadiusFileRequest(DataFileName));
    if (!name)
        return;
    if (LoadRadiusFile(*name, ArrData))
        DataFileName = *name;
    ShowCurrentRadius();
}

void TElementForm::SaveClick() {
    std::optional<std::string> name = Dialogs().SaveFileName(RadiusFileRequest(DataFileName));
    if (!name)
        return;
    if (!MayWriteFile(*name))
        return;
    SaveRadiusFile(*name, ArrData);
    DataFileName = *name;
}

void TElementForm::OkClick() {
    GStrEl = Trim(GStrEl);
    if (PSetEl != nullptr)
        *PSetEl = ElToSet();
}

bool TElementForm::SelectElements(QLineEdit& edit, const QString& caption) {
    SetRadiusMode(false);
    ElementCodeSet set;
    const std::string text = edit.text().toStdString();
    ParseElSet(text, set);
    InitEl(text, set);
    setWindowTitle(caption);
    PSetEl = nullptr;
    if (exec() != QDialog::Accepted)
        return false;
    edit.setText(QString::fromStdString(GStrEl));
    return true;
}

bool TElementForm::EditRadii(TElementValues& radii, const TElementValues& defaults) {
    ArrData = radii;
    SurceArrData = defaults;
    SqNumEl = 0;
    SetRadiusMode(true);
    setWindowTitle("Change atomic radii");
    const bool accepted = exec() == QDialog::Accepted;
    setWindowTitle("Element Table");
    if (!accepted)
        return false;
    radii = ArrData;
    return true;
}

} // namespace ormaline
