#pragma once

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace doxel {

// Puts a window in the middle of the primary screen's free area, as the
// program's windows and dialogs open.
inline void centreOnScreen(QWidget& window)
{
    if (const QScreen* screen = QApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

}  // namespace doxel
