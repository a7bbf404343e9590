// The 2D stand-in for a viewer window's OpenGL surface, used when no OpenGL context can
// be created at all: a plain widget of the same size that hands resizing and painting to
// its window (which draws the 2D picture) and its mouse and key events to the window's
// handlers exactly as the OpenGL surface does.
#pragma once

#include <QWidget>

class QSurfaceFormat;

namespace ormaline {

class TLVForm;

// True when an OpenGL context of `format` can be created on this platform.
bool OpenGLContextCanBeCreated(const QSurfaceFormat& format);

class TLVCanvasView : public QWidget {
    Q_OBJECT
public:
    explicit TLVCanvasView(TLVForm& form, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    TLVForm& form_;
};

} // namespace ormaline
