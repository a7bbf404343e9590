// The group "Subgraph" of the ligand tab in the real window over the demo database:
// loading a fragment file, viewing it in a modal viewer, the ligand search restricted
// to the ligands that contain it, and "Clear". The expected hits come from the test's
// own SQL and its own ring finder, independent of the window's loader and matcher.
#include "support/GuiTest.h"
#include "viewer/ViewerPixels.h"

#include "model/Compound.h"
#include "model/TextUtil.h"
#include "platform/ProgramFolder.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <QLabel>
#include <QPaintEvent>

#include <filesystem>
#include <fstream>
#include <map>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

const std::string kLibrary = "Ligands";

std::string DataFile(const std::string& name) {
    return std::string(ORMALINE_TEST_DATA) + "/" + name;
}

// A ligand as the test reads it: element and neighbour numbers of each atom that has
// a bond list.
struct TTestLigand {
    std::map<int, int> element;
    std::map<int, std::vector<int>> neighbours;

    bool Holds(int code) const {
        return std::any_of(element.begin(), element.end(),
                           [code](const auto& atom) { return atom.second == code; });
    }
    bool Bonded(int a, int b) const {
        auto found = neighbours.find(a);
        return found != neighbours.end() &&
               std::find(found->second.begin(), found->second.end(), b) != found->second.end();
    }
};

std::map<std::string, TTestLigand> LigandsOf(const std::string& library) {
    TDatabase db;
    db.Open();
    auto r =
        db.Query("select a.limonid, a.numat, a.specat, b.adm_str\r\n"
                 "from topology.limon_cd a\r\n"
                 "join topology.limon_adm_dn b on b.limonid = a.limonid and b.at_num = a.numat\r\n"
                 "join topology.limon l on l.id = a.limonid\r\n"
                 "join topology.limon_library y on y.id = l.libraryid where y.name = '" +
                 library + "'");
    std::map<std::string, TTestLigand> ligands;
    for (; !r->Eof(); r->Next()) {
        TTestLigand& ligand = ligands[r->AsString("limonid")];
        const int number = r->AsInteger("numat");
        ligand.element[number] = r->AsInteger("specat");
        std::vector<int>& around = ligand.neighbours[number];
        std::string rest = Trim(r->AsString("adm_str"));
        while (!rest.empty()) {
            const std::size_t blank = rest.find(' ');
            around.push_back(std::stoi(rest.substr(0, blank)));
            rest = blank == std::string::npos ? "" : Trim(rest.substr(blank + 1));
        }
    }
    return ligands;
}

// Whether the ligand has a ring without chords whose atoms carry `ring` in order
// (any element where `ring` holds 0).
bool HasRing(const TTestLigand& ligand, const std::vector<int>& ring) {
    std::vector<int> path;
    auto fits = [&](int atom, std::size_t k) {
        return ring[k] == 0 || ligand.element.at(atom) == ring[k];
    };
    auto extend = [&](auto&& self) -> bool {
        if (path.size() == ring.size()) {
            if (!ligand.Bonded(path.back(), path.front()))
                return false;
            for (std::size_t a = 0; a < path.size(); ++a)
                for (std::size_t b = a + 2; b < path.size(); ++b)
                    if ((a != 0 || b + 1 != path.size()) && ligand.Bonded(path[a], path[b]))
                        return false;
            return true;
        }
        for (int next : ligand.neighbours.at(path.back()))
            if (ligand.element.count(next) > 0 && fits(next, path.size()) &&
                std::find(path.begin(), path.end(), next) == path.end()) {
                path.push_back(next);
                if (self(self))
                    return true;
                path.pop_back();
            }
        return false;
    };
    for (const auto& [atom, element] : ligand.element) {
        if (!fits(atom, 0))
            continue;
        path = {atom};
        if (extend(extend))
            return true;
    }
    return false;
}

// The texts of a label as it is painted, in order, repeats left out.
class TPaintedTexts : public QObject {
public:
    explicit TPaintedTexts(QLabel& label) : label_(label) { label_.installEventFilter(this); }
    ~TPaintedTexts() override { label_.removeEventFilter(this); }
    std::vector<std::string> texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &label_ && event->type() == QEvent::Paint) {
            const std::string text = label_.text().toStdString();
            if (texts.empty() || texts.back() != text)
                texts.push_back(text);
        }
        return false;
    }

private:
    QLabel& label_;
};

class SubgraphQueryTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        KRELMOpt = TKRELMOpt{}; // the ratio test off, as at start-up
        window->pcServices->setCurrentWidget(window->tsTTL_TTM);
    }
    void TearDown() override {
        for (TLVForm* viewer : VisibleViewers())
            viewer->close();
        ProcessEvents();
        MainWindowTest::TearDown();
    }

    // "Load" with the file chosen in the open dialog; the boxes it showed besides.
    std::vector<DialogRecord> Load(const std::string& path) {
        dialogs->records.clear();
        dialogs->PushText(path);
        window->actSGLoad->trigger();
        ProcessEvents();
        std::vector<DialogRecord> boxes;
        for (const DialogRecord& record : dialogs->records)
            if (record.kind != DialogKind::OpenFile)
                boxes.push_back(record);
        dialogs->records.clear();
        return boxes;
    }

    std::vector<std::vector<std::string>> Search(bool withSpecies) {
        window->cmbTTLLibrary->setCurrentText(QString::fromStdString(kLibrary));
        window->edSearchName->setText("%");
        window->cbUseLike->setChecked(true);
        window->cbWithSpecies->setChecked(withSpecies);
        window->actTTLSearch->trigger();
        ProcessEvents();
        std::vector<std::vector<std::string>> rows;
        for (int row = 1; row < window->sgLigands->RowCount(); ++row)
            rows.push_back(window->sgLigands->RowTexts(row));
        return rows;
    }

    static std::vector<std::vector<std::string>> Rows(const std::vector<ExpectedHit>& hits) {
        std::vector<std::vector<std::string>> rows;
        for (const ExpectedHit& hit : hits)
            rows.push_back(hit.Row());
        return rows;
    }
};

TEST_F(SubgraphQueryTest, LoadViewSearchAndClear) {
    EXPECT_FALSE(window->actSGView->isEnabled());
    EXPECT_FALSE(window->actSGClear->isEnabled());
    ASSERT_TRUE(Load(DataFile("pyridine_ring.gph")).empty());
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    const FileDialogRequest& request = dialogs->fileRequests.front();
    EXPECT_EQ(request.caption, "Choose filename(s) with molecular fragments");
    EXPECT_EQ(request.filter, "Graph files (*.gph)|*.gph");
    EXPECT_EQ(request.defaultExtension, "gph");
    EXPECT_EQ(request.initialFolder, ProgramFolder());
    ASSERT_NE(window->SGLines, nullptr);
    EXPECT_EQ(window->SGLines->size(), 8u);
    EXPECT_EQ(window->CompParamGraph.DC.at_, 6u);
    EXPECT_TRUE(window->actSGView->isEnabled());
    EXPECT_TRUE(window->actSGClear->isEnabled());

    // "View": a modal viewer on the fragment; the main window takes no input meanwhile.
    window->actSGView->trigger();
    ProcessEvents();
    std::vector<TLVForm*> viewers = VisibleViewers();
    ASSERT_EQ(viewers.size(), 1u);
    TLVForm& viewer = *viewers.front();
    EXPECT_EQ(QApplication::activeModalWidget(), &viewer);
    ASSERT_TRUE(WaitForBuild(viewer));
    const tCompParam& shown = viewer.Scene().CompParamMaler;
    EXPECT_NE(&shown, &window->CompParamGraph);
    std::vector<int> elements;
    for (const tSteckAt* atom = shown.pAtEnd; atom != nullptr; atom = atom->li)
        elements.push_back(atom->A.n);
    EXPECT_EQ(elements, (std::vector<int>{6, 6, 6, 6, 6, 7}));
    auto* searchButton = window->findChild<QPushButton*>("btn_actTTLSearch");
    ASSERT_NE(searchButton, nullptr);
    // A click as the window system delivers it: the modal viewer blocks it.
    const QPoint onSearch = searchButton->mapTo(window.get(), searchButton->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, onSearch);
    ProcessEvents();
    EXPECT_TRUE(dialogs->records.empty()) << "the search ran: " << dialogs->records.front().text;
    viewer.close();
    ProcessEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The same click now reaches the button (the search refuses: no library chosen).
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, onSearch);
    ProcessEvents();
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Information),
              std::vector<std::string>{"You have not selected a library"});
    dialogs->records.clear();

    // With species: the ligands with a pyridine ring, as the test's ring finder sees them.
    const std::map<std::string, TTestLigand> ligands = LigandsOf(kLibrary);
    const std::vector<ExpectedHit> all = ExpectedHits(kLibrary, "%");
    std::vector<ExpectedHit> withRing;
    for (const ExpectedHit& hit : all)
        if (auto found = ligands.find(hit.id);
            found != ligands.end() && HasRing(found->second, {7, 6, 6, 6, 6, 6}))
            withRing.push_back(hit);
    ASSERT_GE(withRing.size(), 5u);
    ASSERT_LT(withRing.size(), all.size());
    // The status line is painted while the candidates are tested, first with the
    // progress before any candidate has come back.
    TPaintedTexts painted(*window->statusPanel);
    EXPECT_EQ(Search(true), Rows(withRing));
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(withRing.size()) + " ligands.");
    ASSERT_FALSE(painted.texts.empty());
    EXPECT_EQ(painted.texts.front(), "Subgraph search: 0 ligands tested, 0 found.");
    EXPECT_TRUE(dialogs->records.empty());

    // "Clear": the search ignores the subgraph again.
    window->actSGClear->trigger();
    ProcessEvents();
    EXPECT_EQ(window->SGLines, nullptr);
    EXPECT_FALSE(window->actSGView->isEnabled());
    EXPECT_FALSE(window->actSGClear->isEnabled());
    EXPECT_EQ(Search(true), Rows(all));
}

// Without species any ring of six atoms without chords matches, in ligands that hold
// the fragment's elements (the pre-filter applies all the same); bulk and per-row
// loading give the same grid for every fragment, with and without species, in one
// block or in several, and so does the whole search loaded at once.
TEST_F(SubgraphQueryTest, BulkAndPerRowLoadingGiveTheSameGrid) {
    const std::map<std::string, TTestLigand> ligands = LigandsOf(kLibrary);
    const std::vector<ExpectedHit> all = ExpectedHits(kLibrary, "%");
    std::vector<ExpectedHit> sixRing;
    for (const ExpectedHit& hit : all)
        if (auto found = ligands.find(hit.id); found != ligands.end() &&
                                               HasRing(found->second, {0, 0, 0, 0, 0, 0}) &&
                                               found->second.Holds(6) && found->second.Holds(7))
            sixRing.push_back(hit);

    for (const char* fragment : {"pyridine_ring.gph", "carboxylate.gph", "imidazole_ring.gph"}) {
        for (bool withSpecies : {false, true}) {
            SCOPED_TRACE(std::string(fragment) + (withSpecies ? " with species" : ""));
            // The whole search at once, bulk in one block, in blocks of 16, and per row.
            struct Scheme {
                TCandidateLoading loading;
                std::size_t blockSize;
            };
            std::vector<std::vector<std::string>> grids[4];
            const Scheme schemes[4] = {
                {TCandidateLoading::WholeSearch, TSubgraphRowFilter::kBulkBlockSize},
                {TCandidateLoading::Bulk, 16},
                {TCandidateLoading::PerRow, 1},
                {TCandidateLoading::Bulk, TSubgraphRowFilter::kBulkBlockSize}};
            for (int k = 0; k < 4; ++k) {
                window->SubgraphLoading = schemes[k].loading;
                window->SubgraphBlockSize = schemes[k].blockSize;
                // Loaded again, so that a central atom is central in every search.
                EXPECT_TRUE(Load(DataFile(fragment)).empty());
                grids[k] = Search(withSpecies);
            }
            window->SubgraphLoading = TCandidateLoading::WholeSearch;
            window->SubgraphBlockSize = TSubgraphRowFilter::kBulkBlockSize;
            EXPECT_EQ(grids[0], grids[2]);
            EXPECT_EQ(grids[1], grids[2]);
            EXPECT_EQ(grids[3], grids[2]);
            EXPECT_FALSE(grids[0].empty());
            EXPECT_LT(grids[0].size(), all.size());
            if (std::string(fragment) == "pyridine_ring.gph" && !withSpecies) {
                EXPECT_EQ(grids[0], Rows(sixRing));
            }
        }
    }
    EXPECT_TRUE(dialogs->records.empty()) << dialogs->records.front().text;
}

TEST_F(SubgraphQueryTest, AFragmentThatCannotBeReadRejectsEveryCandidateUntilClear) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "ormaline-subgraph-test";
    std::filesystem::create_directories(folder);
    const std::string badFile = (folder / "bad.gph").string();
    std::ofstream(badFile, std::ios::binary)
        << "VER=1;0::bad\r\n10 10 10 90 90 90\r\n1 C 0 0 0 2v\r\n";
    const std::string missingFile = (folder / "missing.gph").string();
    std::filesystem::remove(missingFile);

    struct Case {
        std::string path;
        std::string message;
    };
    for (const Case& c : {Case{badFile, "Errors in molecule data."},
                          Case{missingFile, "Cannot open file \"" + missingFile +
                                                "\". No such file or directory"}}) {
        SCOPED_TRACE(c.path);
        const std::vector<DialogRecord> boxes = Load(c.path);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes.front().kind, DialogKind::Error);
        EXPECT_EQ(boxes.front().text, c.message);
        ASSERT_NE(window->SGLines, nullptr);
        EXPECT_TRUE(window->actSGView->isEnabled());
        EXPECT_TRUE(window->actSGClear->isEnabled());
        EXPECT_TRUE(Search(false).empty());
        EXPECT_EQ(window->StatusText(), "Found 0 ligands.");
        EXPECT_TRUE(dialogs->records.empty());
        // "View" reads the lines again: the reader reports the bad file once more, and the
        // viewer opens without atoms (without any line it says the data are incomplete).
        window->actSGView->trigger();
        ProcessEvents();
        ASSERT_EQ(VisibleViewers().size(), 1u);
        ASSERT_TRUE(WaitForBuild(*VisibleViewers().front()));
        ProcessEvents();
        EXPECT_EQ(VisibleViewers().front()->Scene().CompParamMaler.pAtEnd, nullptr);
        EXPECT_EQ(dialogs->TextsOf(DialogKind::Error),
                  std::vector<std::string>{c.path == badFile
                                               ? "Errors in molecule data."
                                               : "Incomplete data on crystal structure"});
        dialogs->records.clear();
        VisibleViewers().front()->close();
        ProcessEvents();
        EXPECT_TRUE(VisibleViewers().empty());
    }
    window->actSGClear->trigger();
    ProcessEvents();
    EXPECT_EQ(Search(false).size(), ExpectedHits(kLibrary, "%").size());
    std::filesystem::remove_all(folder);
}

} // namespace
