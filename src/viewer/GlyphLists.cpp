#include "viewer/GlyphLists.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <GL/gl.h>

#include <vector>

namespace ormaline {

namespace {
unsigned lastError = 0;
} // namespace

unsigned LastGlyphListError() {
    return lastError;
}

QFont ViewerWindowFont() {
    QFont font("Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

int TGlyphMetrics::TextWidth(std::string_view text) const {
    int width = 0;
    for (char c : text)
        width +=
            metrics_.horizontalAdvance(QChar(static_cast<char16_t>(static_cast<unsigned char>(c))));
    return width;
}

int TGlyphMetrics::TextHeight(std::string_view text) const {
    (void)text;
    return metrics_.height();
}

unsigned MakeGlyphLists(const QFont& font) {
    while (glGetError() != GL_NO_ERROR) {
    }
    const GLuint base = glGenLists(256);
    if (base == 0) {
        lastError = glGetError();
        return 0;
    }
    const QFontMetrics metrics(font);
    const int height = metrics.height();
    const int descent = metrics.descent();
    GLint oldAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int code = 0; code < 255; ++code) {
        const QChar character(static_cast<char16_t>(code));
        const int advance = code < 32 ? 0 : metrics.horizontalAdvance(character);
        const int width = advance > 0 ? advance : 0;
        std::vector<GLubyte> bits;
        const int bytesPerRow = (width + 7) / 8;
        if (width > 0 && height > 0) {
            QImage image(width, height, QImage::Format_Grayscale8);
            image.fill(0);
            QPainter painter(&image);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(0, metrics.ascent(), QString(character));
            painter.end();
            bits.assign(static_cast<std::size_t>(bytesPerRow * height), 0);
            // glBitmap rows run from the bottom up, most significant bit first.
            for (int row = 0; row < height; ++row) {
                const uchar* line = image.constScanLine(height - 1 - row);
                for (int x = 0; x < width; ++x)
                    if (line[x] >= 128)
                        bits[static_cast<std::size_t>(row * bytesPerRow + x / 8)] |=
                            static_cast<GLubyte>(0x80 >> (x % 8));
            }
        }
        // A glyph without pixels is one blank pixel that only advances the raster position.
        int bitmapWidth = width, bitmapHeight = height;
        if (bits.empty()) {
            bits.assign(1, 0);
            bitmapWidth = bitmapHeight = 1;
        }
        glNewList(base + static_cast<GLuint>(code), GL_COMPILE);
        glBitmap(bitmapWidth, bitmapHeight, 0.0f, static_cast<float>(descent),
                 static_cast<float>(advance), 0.0f, bits.data());
        glEndList();
    }
    glNewList(base + 255, GL_COMPILE);
    glEndList();
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlignment);
    lastError = glGetError();
    if (lastError != GL_NO_ERROR) {
        glDeleteLists(base, 256);
        return 0;
    }
    return base;
}

void DeleteGlyphLists(unsigned& base) {
    if (base != 0)
        glDeleteLists(base, 256);
    base = 0;
}

} // namespace ormaline
