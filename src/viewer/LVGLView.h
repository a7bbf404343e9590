// The drawing surface of a viewer window: an OpenGL widget with a compatibility-profile
// context that hands initialisation, resizing and painting to its window.
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

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    TLVForm& form_;
};

} // namespace ormaline
