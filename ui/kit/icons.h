#pragma once

#include <QIcon>

namespace doxel {

// The program's pictures (data/icons, compiled in as resources, SVG so
// they stay sharp at any size and screen density).

// Makes the compiled-in pictures available; call once the application
// exists (the window does).
void initIconResources();

// Contents picture `number` (0 to 42); a null icon for other numbers.
QIcon contentsIcon(int number);

// A main tool bar picture ("new", "open", "save", "compile", "wizard",
// "projectprops", "about"): with `colored` the coloured art; otherwise the
// grey art, turning coloured under the mouse.
QIcon toolbarIcon(const char* name, bool colored);

// A picture of data/icons by its path below the folder ("actions/up.svg").
QIcon resourceIcon(const char* path);

QIcon programIcon();

}  // namespace doxel
