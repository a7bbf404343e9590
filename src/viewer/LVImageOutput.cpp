// The viewer window's image output: Copy (the picture to the clipboard), Print (the
// picture fitted on a page) and Save As (the shown atoms as a PDB or HyperChem file).
#include "viewer/maler.h"

#include "model/TextFile.h"
#include "platform/UserDialogs.h"
#include "viewer/CanvasPainter.h"
#include "viewer/GlyphLists.h"
#include "viewer/LVGLView.h"
#include "viewer/core/CoordinateExport.h"
#include "viewer/core/ImageOutput.h"
#include "viewer/core/ViewTransforms.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QStatusBar>
#include <QSvgGenerator>

#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace ormaline {
namespace {

constexpr int kCaptureTop = 3;

// The picture the surface holds, `top` rows from its top left out, as the 24-bit bitmap
// of the clipboard; a null image when the bitmap cannot be built. The surface's picture
// lives in its framebuffer object, which stands for the window's front buffer.
QImage CaptureGL(TLVGLView& surface, int top, std::vector<std::uint8_t>* bmp) {
    if (surface.context() == nullptr)
        return {};
    const int width = CaptureWidth(surface.PixelWidth());
    const int height = surface.PixelHeight() - top;
    if (width <= 0 || height <= 0)
        return {};
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(3 * width * height));
    surface.makeCurrent();
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    // OpenGL counts rows from the bottom: a client rectangle whose top moved down by
    // `top` rows starts `top` rows above the bottom edge and is `top` rows shorter.
    glReadPixels(0, top, width, height, GL_BGR, GL_UNSIGNED_BYTE, rows.data());
    surface.doneCurrent();
    std::vector<std::uint8_t> stream = BmpStream(rows, width, height);
    QImage image = QImage::fromData(stream.data(), static_cast<int>(stream.size()), "BMP");
    if (bmp != nullptr && !image.isNull())
        *bmp = std::move(stream);
    return image;
}

QByteArray Bytes(const std::vector<std::uint8_t>& data) {
    return QByteArray(reinterpret_cast<const char*>(data.data()),
                      static_cast<qsizetype>(data.size()));
}

bool IsHinFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".hin";
}

} // namespace

void TLVForm::ShowBars(bool shown) {
    statusBar()->setVisible(shown);
}

void TLVForm::actImageCopyExecute() {
    ShowBars(false);
    view_->repaint();
    auto mime = std::make_unique<QMimeData>();
    bool filled = false;
    if (WLVO().ModelCryst != 0 || !NotErOpenGL) {
        // A vector picture drawn again by the 2D renderer, with its bitmap beside it for
        // programs that paste only bitmaps.
        const int width = ClientWidth(), height = ClientHeight();
        const TGlyphMetrics metrics(view_->font());
        const TCanvasPicture picture = CanvasPicture(width, height, metrics);
        QBuffer svg;
        svg.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&svg);
        generator.setSize(QSize(width, height));
        generator.setViewBox(QRect(0, 0, width, height));
        generator.setTitle("Latvista");
        QPainter painter(&generator);
        painter.setFont(view_->font());
        DrawCanvasPicture(painter, picture);
        painter.end();
        QImage bitmap(width, height, QImage::Format_RGB32);
        QPainter bitmapPainter(&bitmap);
        bitmapPainter.setFont(view_->font());
        DrawCanvasPicture(bitmapPainter, picture);
        bitmapPainter.end();
        mime->setData("image/svg+xml", svg.data());
        mime->setImageData(bitmap);
        filled = true;
    } else {
        std::vector<std::uint8_t> bmp;
        const QImage image = CaptureGL(*surface_, kCaptureTop, &bmp);
        if (!image.isNull()) {
            mime->setData("image/bmp", Bytes(bmp));
            mime->setImageData(image);
            filled = true;
        }
    }
    if (filled)
        QGuiApplication::clipboard()->setMimeData(mime.release());
    ShowBars(true);
}

void TLVForm::actImagePrintExecute() {
    QPrinter printer(QPrinter::HighResolution);
    if (!Dialogs().Print("Print", printer))
        return;
    ShowBars(false);
    view_->repaint();
    const int clientWidth = ClientWidth(), clientHeight = ClientHeight();
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    TPixelSize target = FitToPage(clientWidth, clientHeight, page.width(), page.height());
    const bool canvas = WLVO().ModelCryst != 0 || !NotErOpenGL;
    QImage picture;
    if (canvas) {
        target.width /= 2;
        target.height /= 2;
        const TPrintView saved = SaveView(*scene_);
        ScaleViewForPrint(*scene_, target.width, target.height, clientWidth, clientHeight);
        QFont font = view_->font();
        if (clientHeight > 0 && font.pixelSize() > 0)
            font.setPixelSize(std::max(1, PixelRound(static_cast<double>(font.pixelSize()) *
                                                     target.height / clientHeight)));
        picture = DrawCanvas(target.width, target.height, font);
        RestoreView(*scene_, saved);
        // The legend rectangle the mouse drags is the window's again after the next paint.
        Repaint();
    } else {
        picture = CaptureGL(*surface_, kCaptureTop, nullptr);
    }
    if (!picture.isNull()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QPainter painter;
        const bool begun = painter.begin(&printer);
        if (begun) {
            const TPixelSize fitted =
                FitToPage(picture.width(), picture.height(), page.width(), page.height());
            painter.drawImage(QRect(0, 0, fitted.width, fitted.height), picture);
            painter.end();
        }
        QApplication::restoreOverrideCursor();
        if (!begun)
            Dialogs().Error("The printer could not be opened.");
    }
    ShowBars(true);
}

void TLVForm::actImageSaveAsExecute() {
    FileDialogRequest request;
    request.caption = "Choose HyperChem file to save the data";
    request.fileName = SuggestedExportName(scene_->CompParamMaler);
    request.filter = "PDB files (*.pdb)|*.pdb|HyperChem files (*.hin)|*.hin";
    request.defaultExtension = "pdb";
    const std::optional<std::string> path = Dialogs().SaveFileName(request);
    if (!path)
        return;
    if (!MayWriteFile(*path))
        return;
    // The export takes the partners the paint processed.
    view_->repaint();
    std::string text;
    if (IsHinFile(*path)) {
        OutPutToStatusBar1("Calculating molecule numbers...");
        text =
            HinText(*scene_, [this](int position, int maximum) { SetProgress(position, maximum); });
        OutPutToStatusBar1("Writing atom coordinates...");
    } else {
        OutPutToStatusBar1("Writing atom coordinates...");
        text = PdbText(*scene_);
    }
    const auto done = [this] {
        SetProgress(0, 0);
        OutPutToStatusBar1("");
    };
    try {
        WriteTextFile(*path, text);
    } catch (...) {
        done();
        throw;
    }
    done();
}

} // namespace ormaline
