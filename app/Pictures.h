#pragma once

#include <QIcon>
#include <QPixmap>

// The wizard's pictures, drawn from their SVG files (resources/) at the
// pixel density of the screen, so that they stay sharp on high-DPI screens.
namespace Pictures {

// The picture `name` (the file's stem: "watermark", "header-card",
// "icon-3d", ...) at its own size in device-independent pixels, drawn with
// `ratio` device pixels to each.
QPixmap Picture(const char* name, qreal ratio);
// The same at the application's device pixel ratio.
QPixmap Picture(const char* name);

// The program's icon, drawn at each size a desktop asks for.
QIcon ProgramIcon();

}  // namespace Pictures
