// The atom tab of the real window over the demo database: the element table, the
// per-element statistics, the atom list, the conditions and both files. Expected values
// come from the test's own SQL, which formats the numbers on the server.
#include "support/GuiTest.h"

#include "platform/StringGrid.h"
#include "viewer/Element.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

// "mean(deviation)" of a column, formatted by the server: the deviation of one atom
// is NULL and counts as 0; round() of a double rounds ties to even.
std::string MeanWithDeviation(const std::string& column, int decimals) {
    const std::string scale = "1" + std::string(static_cast<std::size_t>(decimals), '0');
    const std::string pattern = "FM99990." + std::string(static_cast<std::size_t>(decimals), '0');
    return "to_char(avg(" + column + "), '" + pattern + "') || '(' || round(coalesce(stddev(" +
           column + "), 0) * " + scale + ")::text || ')'";
}

// The per-element rows for a condition on atoms.cp_vdp a, most atoms first.
std::vector<std::vector<std::string>> ExpectedElementRows(const std::string& condition) {
    return QueryRows("select e.element, count(*)::text, " + MeanWithDeviation("a.rsd", 3) + ", " +
                     MeanWithDeviation("a.v_vdp", 1) + ", " + MeanWithDeviation("a.g3_vdp", 4) +
                     ", " + MeanWithDeviation("a.var_me", 2) +
                     ", a.at_num::text\r\n"
                     "from atoms.cp_vdp a join atoms.ref_elements e on e.id = a.at_num\r\nwhere " +
                     condition +
                     "\r\ngroup by a.at_num, e.element order by count(*) desc, e.element");
}

class AtomSearchTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        window->pcServices->setCurrentWidget(window->tsTTA);
    }

    void ChooseElements(const std::string& text) {
        window->edChemEl->setText(QString::fromStdString(text));
        window->edChemElExit();
    }
    void Run(QAction* action) {
        action->trigger();
        ProcessEvents();
    }
};

} // namespace

TEST_F(AtomSearchTest, ElementsFromTheTableGiveStatisticsThenTheAtoms) {
    // The element table opens in selection mode with its caption; Cu and Zn pressed.
    std::string caption;
    QTimer::singleShot(0, [&caption] {
        auto* dialog = qobject_cast<TElementForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle().toStdString();
        dialog->btnEl[29]->click();
        dialog->btnEl[30]->click();
        dialog->btnOk->click();
    });
    window->btnElement->click();
    ProcessEvents();
    EXPECT_EQ(caption, "Chemical Element");
    EXPECT_EQ(window->edChemEl->text().toStdString(), "Cu Zn");
    EXPECT_EQ(window->edAtNum->text().toStdString(), "29,30");

    Run(window->actTTASearch);
    EXPECT_TRUE(dialogs->records.empty());
    const auto expected = ExpectedElementRows("a.at_num in (29, 30)");
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_EQ(GridRows(*window->sgAtoms), expected);
    EXPECT_EQ(window->StatusText(), "Found 2 elements.");
    EXPECT_FALSE(window->actAtRead->isEnabled());

    // Read lists the atoms of the check's conditions, whichever row is chosen.
    window->sgAtoms->SetRow(2);
    ProcessEvents();
    ASSERT_TRUE(window->actAtRead->isEnabled());
    Run(window->actAtRead);
    const auto atoms = QueryRows(
        "select row_number() over (order by refcode, atom)::text, refcode, atom, ox_st::text,\r\n"
        "  cn::text, to_char(rsd, 'FM990.000'), to_char(v_vdp, 'FM9990.0'),\r\n"
        "  to_char(s_vdp, 'FM9990.0'), to_char(g3_vdp, 'FM0.0000'), coalesce(poly_id::text, "
        "''),\r\n"
        "  cp_class, cp_full from atoms.cp_vdp where at_num in (29, 30) order by refcode, atom");
    EXPECT_EQ(GridRows(*window->sgAtOccurrence), atoms);
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(atoms.size()) + " atoms.");

    // The columns were widened to their contents, never below the stated widths.
    EXPECT_GE(window->sgAtoms->ColWidth(2), 80);
    EXPECT_GE(window->sgAtOccurrence->ColWidth(11),
              window->sgAtOccurrence->TextWidth(window->sgAtOccurrence->Cell(11, 1)));
}

TEST_F(AtomSearchTest, EveryConditionNarrowsTheAtomsAsTheDatabaseSays) {
    struct Case {
        const char* title;
        std::function<void()> set;
        std::string condition; // on atoms.cp_vdp a, written for the test
    };
    auto clear = [this] {
        for (QLineEdit* edit :
             {window->edChemEl, window->edAtNum, window->edCPClass, window->edCPvdp,
              window->edCoordNum, window->edOxSt, window->edTTARsds, window->edTTADiversity})
            edit->clear();
        window->cmbCoordFig->setCurrentText("");
        window->cbCPClass->setChecked(false);
        window->cbCPvdp->setChecked(false);
        window->cbTTAUseRCL->setChecked(false);
    };
    const std::vector<Case> cases = {
        {"copper octahedra of a radius range and a pattern of composition",
         [&] {
             ChooseElements("Cu");
             window->cmbCoordFig->setCurrentText("octahedron");
             window->edTTARsds->setText("1.3:1.5");
             window->edCPClass->setText("CuO%");
             window->cbCPClass->setChecked(true);
         },
         "a.at_num = 29 and a.poly_id = (select id from atoms.ref_polyhedra where name = "
         "'octahedron') and a.rsd between 1.3 and 1.5 and a.cp_class like 'CuO%'"},
        {"one Rsd value widened by its last decimal", [&] { window->edTTARsds->setText("1.35"); },
         "a.rsd >= 1.34 and a.rsd <= 1.36"},
        {"coordination number and oxidation state",
         [&] {
             window->edCoordNum->setText("4");
             window->edOxSt->setText("2");
         },
         "a.cn = 4 and a.ox_st = 2"},
        {"structures of three elements", [&] { window->edTTADiversity->setText("3"); },
         "a.refcode in (select refcode from atoms.cp_vdp group by refcode having count(distinct "
         "at_num) = 3)"},
        {"the RefCode list alone",
         [&] {
             window->mSearchResult->setPlainText("AFNCOV\n\nAAYVLB");
             window->cbTTAUseRCL->setChecked(true);
         },
         "a.refcode in ('AFNCOV', 'AAYVLB')"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        clear();
        dialogs->records.clear();
        c.set();
        Run(window->actTTASearch);
        EXPECT_TRUE(dialogs->records.empty());
        const auto expected = ExpectedElementRows(c.condition);
        ASSERT_FALSE(expected.empty()) << "the demo data should hold such atoms";
        ExpectRowsByCount(*window->sgAtoms, expected, 1);
    }
}

TEST_F(AtomSearchTest, AnUnknownFigureIsReportedAndLeftOut) {
    ChooseElements("Zn");
    window->cmbCoordFig->setCurrentText("no such figure");
    Run(window->actTTASearch);
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Error),
              (std::vector<std::string>{"The reference polyhedron is wrong."}));
    EXPECT_EQ(GridRows(*window->sgAtoms), ExpectedElementRows("a.at_num = 30"));
    // Nothing else given: after the figure's box, the criteria are missing.
    dialogs->records.clear();
    window->edChemEl->clear();
    window->edChemElExit();
    Run(window->actTTASearch);
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Information),
              (std::vector<std::string>{"Not specified search criteria"}));
    EXPECT_EQ(window->sgAtoms->RowCount(), 1);
}

TEST_F(AtomSearchTest, QueryAndDataFiles) {
    TempFolder folder("tta-files");
    ChooseElements("Cu,Zn");

    // "Query To File": one line per element, the statistics in exponent notation.
    dialogs->PushText(folder / "query");
    Run(window->actQueryToFile);
    const std::string query = ReadFileBytes(folder / "query.txt");
    std::istringstream lines(query);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "Element\tOccur.\tavg_Rsd\tstddev_Rsd\tavg_Vvdp\tstddev_Vvdp\tavg_G3vdp\t"
                    "stddev_G3vdp\tavg_VarMe\tstddev_VarMe\tAtNum\r");
    const auto expected = QueryRows(
        "select e.element, count(*)::text, avg(rsd)::text, stddev(rsd)::text, avg(v_vdp)::text,\r\n"
        " stddev(v_vdp)::text, avg(g3_vdp)::text, stddev(g3_vdp)::text, avg(var_me)::text,\r\n"
        " stddev(var_me)::text, a.at_num::text from atoms.cp_vdp a join atoms.ref_elements e\r\n"
        " on e.id = a.at_num where a.at_num in (29, 30) group by a.at_num, e.element\r\n"
        " order by count(*) desc");
    const std::regex exponent(R"([ -][0-9]\.[0-9]{14}E[+-][0-9]{4})");
    for (const auto& row : expected) {
        ASSERT_TRUE(std::getline(lines, line));
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r');
        std::vector<std::string> fields;
        std::istringstream cells(line.substr(0, line.size() - 1));
        for (std::string cell; std::getline(cells, cell, '\t');)
            fields.push_back(cell);
        ASSERT_EQ(fields.size(), 11u) << line;
        EXPECT_EQ(fields[0], row[0]);
        EXPECT_EQ(fields[1], row[1]);
        EXPECT_EQ(fields[10], row[10]);
        for (int k = 2; k < 10; ++k) {
            EXPECT_TRUE(std::regex_match(fields[k], exponent)) << fields[k];
            const double wanted = std::stod(row[static_cast<std::size_t>(k)]);
            EXPECT_NEAR(std::stod(fields[k]), wanted, 1e-13 * std::max(1.0, std::fabs(wanted)));
        }
    }
    EXPECT_FALSE(std::getline(lines, line));
    EXPECT_EQ(window->StatusText(), "Found 2 elements.");

    // "Data To File": every atom with a coordination figure.
    dialogs->PushText(folder / "data");
    Run(window->actDataToFile);
    std::string wanted =
        "RefCode\tAtom\tAtNum\tElement\tOxSt\tCN\tRsd\tVvdp\tG3vdp\tVar_Me\tCPclass"
        "\tCPfull\tCF\r\n";
    const auto atoms = QueryRows(
        "select a.refcode || chr(9) || a.atom || chr(9) || a.at_num || chr(9) || e.element\r\n"
        " || chr(9) || a.ox_st || chr(9) || a.cn || chr(9) || to_char(a.rsd, 'FM990.00000')\r\n"
        " || chr(9) || to_char(a.v_vdp, 'FM99990.000') || chr(9) || to_char(a.g3_vdp, "
        "'FM0.000000')\r\n"
        " || chr(9) || to_char(a.var_me, 'FM990.000') || chr(9) || a.cp_class || chr(9) || "
        "a.cp_full\r\n"
        " || chr(9) || p.name from atoms.cp_vdp a join atoms.ref_elements e on e.id = a.at_num\r\n"
        " join atoms.ref_polyhedra p on p.id = a.poly_id where a.at_num in (29, 30)\r\n"
        " order by a.refcode, a.atom");
    for (const auto& row : atoms)
        wanted += row[0] + "\r\n";
    EXPECT_EQ(ReadFileBytes(folder / "data.txt"), wanted);
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(atoms.size()) + " atoms.");

    // Hydrogen atoms have no coordination figure: nothing to write, and no file.
    ChooseElements("H");
    dialogs->records.clear();
    dialogs->PushText(folder / "hydrogen");
    Run(window->actDataToFile);
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Information),
              (std::vector<std::string>{"No data found"}));
    EXPECT_FALSE(std::filesystem::exists(folder / "hydrogen.txt"));
    EXPECT_EQ(window->StatusText(), "Found 0 atoms.");
}
