// The screen cursors of the viewer's mouse modes, loaded from the program's resources:
// cursor n (1..7) belongs to the mode button with Tag n ("G_Edit", "G_Select",
// "G_Rotate", "G_Scale", "G_Trans", "G_ZRotate", "G_Color").
#pragma once

#include <QCursor>

namespace ormaline {

// The cursor of mode button `tag`; the arrow for any other number.
QCursor ScreenCursor(int tag);
// Its resource name ("G_Select" for 2), empty for any other number.
const char* CursorResource(int tag);

} // namespace ormaline
