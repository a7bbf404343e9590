// The 2D renderer in the real window, the switch to it when OpenGL cannot be set up, and
// the image output: the clipboard bitmap, a print to a PDF file, and PDB and HyperChem
// files read back by an outside program (Open Babel) with their handedness.
#include "support/GuiTest.h"
#include "viewer/ViewerForms.h"

#include "viewer/core/ElementTables.h"
#include "viewer/core/ImageOutput.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QOpenGLWidget>
#include <QPainter>
#include <QScreen>
#include <QSurfaceFormat>
#include <QSvgRenderer>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

// What Open Babel prints for a file (its error output dropped).
std::string Obabel(const std::string& arguments) {
    std::string output;
    if (FILE* pipe = popen(("obabel " + arguments + " 2>/dev/null").c_str(), "r")) {
        std::array<char, 512> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
            output += buffer.data();
        pclose(pipe);
    }
    return output;
}

// The first field of Open Babel's first line (a SMILES or a title).
std::string FirstField(const std::string& text) {
    return text.substr(0, text.find_first_of("\t\r\n "));
}

TRgb At(const QImage& picture, const TLVForm& form, const tTopAt& node) {
    const auto p = ScreenPixel(form.Scene(), node);
    return PixelAt(picture, p[0], p[1]);
}

// The pixel a fraction `t` of the way from node a to node b.
TRgb Between(const QImage& picture, const TLVForm& form, const tTopAt& a, const tTopAt& b,
             double t) {
    const auto p = ScreenPixel(form.Scene(), a), q = ScreenPixel(form.Scene(), b);
    return PixelAt(picture, p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1]));
}

bool Same(const TRgb& a, TColor colour) {
    return Distance(a, Rgb(colour)) < 1.5;
}

class ImageOutputTest : public ScriptedDialogsTest {};

// O and N 4 angstrom apart along x, sphere & cylinder, drawn in 2D.
std::unique_ptr<TLVForm> TwoAtomsIn2D(const std::function<void(TLatvistaOpt&)>& more = {}) {
    return ViewerOn({{8, 0.3, 0.5, 0.5, "2"}, {7, 0.7, 0.5, 0.5, "1"}}, 10.0, [&](TLatvistaOpt& o) {
        o.ModelCryst = 1;
        o.NumModel = 3;
        o.ColBonds = true;
        o.Legend = false;
        if (more)
            more(o);
    });
}

// O and N in sphere & cylinder in a window whose OpenGL surface asks for the format
// `failing` makes of its own.
std::unique_ptr<TLVForm> TwoAtomsOnSurfaceOf(const std::function<void(QSurfaceFormat&)>& failing) {
    return ViewerOn(
        {{8, 0.3, 0.5, 0.5, "2"}, {7, 0.7, 0.5, 0.5, "1"}}, 10.0,
        [](TLatvistaOpt& o) { o.NumModel = 3; },
        [&](TLVForm& window) {
            QSurfaceFormat format = window.Surface()->format();
            failing(format);
            window.Surface()->setFormat(format);
        });
}

TEST_F(ImageOutputTest, The2DModeDrawsFlatElementColoursAndHalvesAndBlackAndWhite) {
    auto form = TwoAtomsIn2D();
    ASSERT_TRUE(form->actAPIMode->isChecked());
    const QImage picture = Picture(*form);
    picture.save("/tmp/ormaline-2d-two-atoms.png");
    const tTopAt& oxygen = *NodeOf(*form, 1);
    const tTopAt& nitrogen = *NodeOf(*form, 2);
    EXPECT_TRUE(Same(At(picture, *form, oxygen), ElementColor(8)));
    EXPECT_TRUE(Same(At(picture, *form, nitrogen), ElementColor(7)));
    // Halves: a quarter of the way from each atom (outside both circles for these radii)
    // carries that atom's colour.
    const auto p = ScreenPixel(form->Scene(), oxygen), q = ScreenPixel(form->Scene(), nitrogen);
    const double distance = std::hypot(q[0] - p[0], q[1] - p[1]);
    const double radius = oxygen.rk * form->Scene().CoeffDX;
    ASSERT_GT(distance / 4, radius + 2) << "the test needs the halves outside the circles";
    EXPECT_TRUE(Same(Between(picture, *form, oxygen, nitrogen, 0.25), ElementColor(8)));
    EXPECT_TRUE(Same(Between(picture, *form, oxygen, nitrogen, 0.75), ElementColor(7)));
    EXPECT_TRUE(Same(PixelAt(picture, 5, 5), form->WLVO().WGBCol));
    // Black and white: white discs in black outlines, bond halves in the pen colour.
    form->actBlackWhite->trigger();
    const QImage white = Picture(*form);
    white.save("/tmp/ormaline-2d-black-white.png");
    EXPECT_TRUE(Same(At(white, *form, oxygen), 0xFFFFFF));
    const double edge = (radius - 0.5) / distance;
    EXPECT_TRUE(Same(Between(white, *form, oxygen, nitrogen, -edge), 0x000000))
        << "circle outline in the pen colour";
}

TEST_F(ImageOutputTest, The2DModeDrawsTheAxesAndTheLegendOfTheSharedPictures) {
    auto form = TwoAtomsIn2D([](TLatvistaOpt& o) {
        o.Legend = true;
        o.ABC_Cell = true;
        o.ATransparent = true;
        o.ArrTickBonds[2] = 3;
    });
    form->actAtomLabels->trigger();
    const QImage picture = Picture(*form);
    picture.save("/tmp/ormaline-2d-axes-legend-labels.png");
    TLVScene& scene = form->Scene();
    const TAxesPicture axes = SeeABCCell(scene, form->Colours());
    ASSERT_TRUE(axes.drawn);
    for (const TAxesPicture::TAxis& axis : axes.axes) {
        SCOPED_TRACE(axis.letter);
        if (std::abs(axis.x - axes.x0) + std::abs(axis.y - axes.y0) < 8)
            continue; // an axis seen end on
        EXPECT_TRUE(Same(PixelAt(picture, (axes.x0 + axis.x) / 2.0, (axes.y0 + axis.y) / 2.0),
                         axis.colour));
    }
    ASSERT_GT(scene.LegRect.Right, scene.LegRect.Left);
    const TLegendPicture legend =
        SeeLegend(scene, form->Colours(), scene.LegendShown, form->TextMetrics());
    ASSERT_EQ(legend.rows.size(), 2u);
    for (const TLegendPicture::TRow& row : legend.rows)
        EXPECT_TRUE(Same(PixelAt(picture, row.x, row.y), row.colour)) << row.text;
}

TEST_F(ImageOutputTest, AWindowWhoseOpenGLSetUpFailsShowsThe2DPicture) {
    dialogs->PushYes();
    dialogs->PushYes();
    // A core profile has no fixed-function OpenGL: the set-up fails.
    auto form = TwoAtomsOnSurfaceOf([](QSurfaceFormat& format) {
        format.setVersion(3, 3);
        format.setProfile(QSurfaceFormat::CoreProfile);
    });
    EXPECT_FALSE(form->NotErOpenGL);
    EXPECT_EQ(form->WLVO().ModelCryst, 1);
    ASSERT_EQ(dialogs->TextsOf(DialogKind::Error).size(), 2u);
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Error)[1],
              "Error in OpenGL initialization. Probably, you should update your video driver.");
    EXPECT_FALSE(form->actOpenGLMode->isEnabled());
    EXPECT_EQ(form->StatusPanelText(1), "OpenGL could not be set up: the picture is drawn in 2D.");
    form->Repaint();
    QApplication::processEvents();
    const QImage picture = form->BM;
    ASSERT_FALSE(picture.isNull());
    picture.save("/tmp/ormaline-2d-after-gl-failure.png");
    EXPECT_TRUE(Same(At(picture, *form, *NodeOf(*form, 1)), ElementColor(8)));
    EXPECT_TRUE(Same(At(picture, *form, *NodeOf(*form, 2)), ElementColor(7)));
    dialogs->records.clear();
}

TEST_F(ImageOutputTest, AWindowWithoutAnOpenGLContextShowsThe2DPictureAndTakesClicks) {
    dialogs->PushYes();
    dialogs->PushYes();
    // OpenVG is no OpenGL: no context of this format can be created at all.
    auto form = TwoAtomsOnSurfaceOf(
        [](QSurfaceFormat& format) { format.setRenderableType(QSurfaceFormat::OpenVG); });
    ASSERT_NE(form->View(), nullptr);
    EXPECT_EQ(qobject_cast<QOpenGLWidget*>(form->View()), nullptr);
    EXPECT_EQ(form->centralWidget(), form->View());
    EXPECT_EQ(form->Surface()->context(), nullptr);
    EXPECT_FALSE(form->NotErOpenGL);
    EXPECT_EQ(form->WLVO().ModelCryst, 1);
    EXPECT_FALSE(form->actOpenGLMode->isEnabled());
    ASSERT_EQ(dialogs->TextsOf(DialogKind::Error).size(), 2u);
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Error)[0], "wglCreateContext error:0");
    EXPECT_EQ(form->StatusPanelText(1), "OpenGL could not be set up: the picture is drawn in 2D.");
    // What the X server shows in the view's place.
    QApplication::processEvents();
    const QPoint origin = form->View()->mapTo(form.get(), QPoint(0, 0));
    const QImage shown = form->screen()
                             ->grabWindow(form->winId(), origin.x(), origin.y(),
                                          form->View()->width(), form->View()->height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    shown.save("/tmp/ormaline-2d-without-opengl-context.png");
    form->screen()
        ->grabWindow(form->winId())
        .save("/tmp/ormaline-window-without-opengl-context.png");
    ASSERT_EQ(shown.width(), form->ClientWidth());
    const tTopAt& oxygen = *NodeOf(*form, 1);
    EXPECT_TRUE(Same(At(shown, *form, oxygen), ElementColor(8)));
    EXPECT_TRUE(Same(At(shown, *form, *NodeOf(*form, 2)), ElementColor(7)));
    // A click on the oxygen reaches the select mode's handlers: it is described and selected.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const auto p = ScreenPixel(form->Scene(), oxygen);
    QTest::mouseClick(
        form->View(), Qt::LeftButton, {},
        QPoint(static_cast<int>(std::lround(p[0])), static_cast<int>(std::lround(p[1]))));
    EXPECT_EQ(form->StatusPanelText(0).substr(0, 4), " O1 ");
    EXPECT_EQ(form->Scene().CountInsAt, 1);
    dialogs->records.clear();
}

TEST_F(ImageOutputTest, CopyPutsTheFramebufferAsA24BitBitmapOrA2DVectorPicture) {
    auto form = ViewerOn({{8, 0.3, 0.5, 0.5, "2"}, {7, 0.7, 0.5, 0.5, "1"}}, 10.0);
    QGuiApplication::clipboard()->clear();
    form->actImageCopy->trigger();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray bmp = mime->data("image/bmp");
    ASSERT_GE(bmp.size(), 54);
    const auto le = [&](int at, int bytes) {
        std::uint32_t value = 0;
        for (int k = bytes - 1; k >= 0; --k)
            value = value * 256 + static_cast<unsigned char>(bmp[at + k]);
        return value;
    };
    const int width = CaptureWidth(form->Surface()->PixelWidth());
    const int height = form->Surface()->PixelHeight() - 3;
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(le(2, 4), static_cast<std::uint32_t>(54 + 3 * width * height));
    EXPECT_EQ(le(10, 4), 54u);
    EXPECT_EQ(le(14, 4), 40u);
    EXPECT_EQ(le(18, 4), static_cast<std::uint32_t>(width));
    EXPECT_EQ(le(22, 4), static_cast<std::uint32_t>(height));
    EXPECT_EQ(le(26, 2), 1u);
    EXPECT_EQ(le(28, 2), 24u);
    EXPECT_EQ(le(30, 4), 0u);
    EXPECT_EQ(le(34, 4), static_cast<std::uint32_t>(3 * width * height));
    EXPECT_EQ(bmp.size(), 54 + 3 * width * height);
    // The bitmap shows the oxygen sphere where the window does (rows are bottom-up and
    // the capture leaves out the 3 bottom rows).
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    const auto p = ScreenPixel(form->Scene(), *NodeOf(*form, 1));
    EXPECT_LT(Distance(PixelAt(image, p[0], p[1]), PixelAt(Picture(*form), p[0], p[1])), 3);

    form->actAPIMode->trigger();
    form->actImageCopy->trigger();
    const QMimeData* vector = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(vector, nullptr);
    const QByteArray svg = vector->data("image/svg+xml");
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains("ellipse") || svg.contains("path"));
    EXPECT_TRUE(vector->hasImage());
}

TEST_F(ImageOutputTest, PrintingToAPdfFileInBothModes) {
    TempFolder folder("ormaline-print");
    auto form = TwoAtomsIn2D([](TLatvistaOpt& o) { o.Legend = true; });
    for (const char* name : {"gdi.pdf", "gl.pdf"}) {
        dialogs->PushText(folder / name);
        form->actImagePrint->trigger();
        const std::string pdf = ReadFileBytes(folder / name);
        EXPECT_GT(pdf.size(), 1000u) << name;
        EXPECT_EQ(pdf.substr(0, 5), "%PDF-") << name;
        EXPECT_NE(pdf.find("/Subtype /Image"), std::string::npos) << "the page holds the picture";
        form->actOpenGLMode->trigger();
    }
    // The 2D view values are back after the print at printer scale.
    EXPECT_EQ(form->Scene().CoeffDX, form->Scene().mas_l / form->Scene().mas);
    dialogs->PushCancel();
    form->actImagePrint->trigger();
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Print).size(), 3u);
}

// Bromochlorofluoromethane around the cell centre of a 10 angstrom cubic cell.
const std::vector<TTestAtom> kChiral = {
    {6, 0.5, 0.5, 0.5, "2 3 4 5"},  {1, 0.563, 0.563, 0.563, "1"},  {9, 0.422, 0.422, 0.578, "1"},
    {17, 0.398, 0.602, 0.398, "1"}, {35, 0.612, 0.388, 0.388, "1"},
};

TEST_F(ImageOutputTest, SavedPdbAndHinFilesKeepTheAtomsBondsAndHandedness) {
    TempFolder folder("ormaline-export");
    // The reference: the fractional coordinates times the edge in a right-handed frame.
    {
        std::ofstream xyz(folder / "reference.xyz");
        xyz << kChiral.size() << "\n\n";
        const char* symbols[] = {"C", "H", "F", "Cl", "Br"};
        for (std::size_t k = 0; k < kChiral.size(); ++k)
            xyz << symbols[k] << " " << kChiral[k].x * 10 << " " << kChiral[k].y * 10 << " "
                << kChiral[k].z * 10 << "\n";
    }
    const std::string reference =
        FirstField(Obabel("-ixyz " + folder / "reference.xyz" + " -ocan"));
    ASSERT_NE(reference.find('@'), std::string::npos) << "Open Babel gives the stereo centre";
    auto form = ViewerOn(kChiral, 10.0);
    for (const char* name : {"chiral.pdb", "chiral.hin"}) {
        dialogs->PushText(folder / name);
        form->actImageSaveAs->trigger();
        const std::string format = std::string(name).substr(7);
        EXPECT_EQ(FirstField(Obabel("-i" + format + " " + folder / name + " -ocan")), reference)
            << name;
        const std::string counts =
            Obabel("-i" + format + " " + folder / name + " -otxt --append \"atoms bonds formula\"");
        EXPECT_NE(counts.find(" 5 4 CHBrClF"), std::string::npos) << counts;
    }
    const FileDialogRequest& request = dialogs->fileRequests.front();
    EXPECT_EQ(request.caption, "Choose HyperChem file to save the data");
    EXPECT_EQ(request.filter, "PDB files (*.pdb)|*.pdb|HyperChem files (*.hin)|*.hin");
    EXPECT_EQ(request.defaultExtension, "pdb");
    // An existing file: the question, and No leaves it as it was.
    const std::string before = ReadFileBytes(folder / "chiral.pdb");
    std::ofstream(folder / "chiral.pdb") << "mine";
    dialogs->PushText(folder / "chiral.pdb");
    dialogs->PushNo();
    form->actImageSaveAs->trigger();
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Confirmation).back(),
              "File " + folder / "chiral.pdb" + " already exists. Overwrite?");
    EXPECT_EQ(ReadFileBytes(folder / "chiral.pdb"), "mine");
    dialogs->PushText(folder / "chiral.pdb");
    dialogs->PushYes();
    form->actImageSaveAs->trigger();
    EXPECT_EQ(ReadFileBytes(folder / "chiral.pdb"), before);
    EXPECT_EQ(form->StatusPanelText(1), "");
}

TEST_F(ImageOutputTest, TheInstalledDesktopEntryStartsTheProgramWithItsIcon) {
    const std::string entry = ReadFileBytes(ORMALINE_SOURCE_DIR "/share/ormaline.desktop");
    for (const char* line : {"[Desktop Entry]\n", "\nType=Application\n", "\nName=Ormaline\n",
                             "\nExec=ormaline\n", "\nIcon=ormaline\n", "\nTerminal=false\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    QSvgRenderer icon(QString(ORMALINE_SOURCE_DIR "/share/ormaline.svg"));
    ASSERT_TRUE(icon.isValid());
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.render(&painter);
    painter.end();
    image.save("/tmp/ormaline-icon.png");
    EXPECT_GT(qAlpha(image.pixel(64, 64)), 200) << "the icon fills its square";
}

} // namespace

// The window composes its OpenGL picture by the picture's alpha: thin smoothed lines must
// show their colour there as well, not only in the framebuffer.
TEST_F(ImageOutputTest, TheOpenGLWindowShowsThinAxesInTheirColours) {
    auto form = ViewerOn(kChiral, 10.0, [](TLatvistaOpt& o) { o.ABC_Cell = true; });
    ASSERT_EQ(form->WLVO().ModelCryst, 0);
    ASSERT_EQ(form->WLVO().ArrTickBonds[2], 0) << "one-pixel axes";
    QApplication::processEvents();
    const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint offset = form->Surface()->mapTo(form.get(), QPoint(0, 0));
    const TAxesPicture axes = SeeABCCell(form->Scene(), form->Colours());
    int checked = 0;
    for (const TAxesPicture::TAxis& axis : axes.axes) {
        SCOPED_TRACE(axis.letter);
        if (std::abs(axis.x - axes.x0) + std::abs(axis.y - axes.y0) < 8)
            continue; // seen end on
        // The line is one or two pixels wide: the best match across it.
        const bool vertical = axis.x == axes.x0;
        double best = 1e9;
        for (int d = -2; d <= 2; ++d)
            best = std::min(
                best,
                Distance(PixelAt(shown, offset.x() + (axes.x0 + axis.x) / 2.0 + (vertical ? d : 0),
                                 offset.y() + (axes.y0 + axis.y) / 2.0 + (vertical ? 0 : d)),
                         Rgb(axis.colour)));
        EXPECT_LT(best, 1.5);
        ++checked;
    }
    EXPECT_GE(checked, 2);
}
