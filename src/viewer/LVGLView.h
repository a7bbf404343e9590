// The drawing surface of a viewer window: an OpenGL widget with a compatibility-profile
// context that hands initialisation, resizing and painting to its window, and its mouse
// and key events to the window's handlers (LVSurfaceInput). The picture is kept between
// paints, so that outlines can be drawn over it in exclusive-or mode.
#pragma once

#include <QOpenGLWidget>

namespace ormaline {

class TLVForm;

class TLVGLView : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit TLVGLView(TLVForm& form, QWidget* parent = nullptr);
    ~TLVGLView() override;

    // Client size in device pixels.
    int PixelWidth() const;
    int PixelHeight() const;
    // The picture the surface holds now, read back without drawing it again (so with the
    // outlines drawn over it since the last paint).
    QImage KeptPicture();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    TLVForm& form_;
};

} // namespace ormaline
