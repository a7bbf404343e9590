#include "viewer/LVCursors.h"

#include <QPixmap>

#include <array>

// The resources live in a static library: they are registered on first use.
static void RegisterCursorResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(viewer_cursors);
        return true;
    }();
    (void)registered;
}

namespace ormaline {
namespace {

struct TCursorImage {
    const char* name;
    int hotX, hotY; // the pixel that points
};

constexpr std::array<TCursorImage, 7> kCursors = {{{"G_Edit", 3, 28},
                                                   {"G_Select", 2, 2},
                                                   {"G_Rotate", 16, 16},
                                                   {"G_Scale", 12, 12},
                                                   {"G_Trans", 16, 16},
                                                   {"G_ZRotate", 16, 16},
                                                   {"G_Color", 5, 5}}};

} // namespace

const char* CursorResource(int tag) {
    return tag >= 1 && tag <= 7 ? kCursors[static_cast<std::size_t>(tag - 1)].name : "";
}

QCursor ScreenCursor(int tag) {
    if (tag < 1 || tag > 7)
        return QCursor(Qt::ArrowCursor);
    RegisterCursorResources();
    const TCursorImage& cursor = kCursors[static_cast<std::size_t>(tag - 1)];
    const QPixmap image(QString(":/cursors/") + cursor.name + ".xpm");
    return image.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(image, cursor.hotX, cursor.hotY);
}

} // namespace ormaline
