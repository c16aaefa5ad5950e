#pragma once

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace doxel {

// Puts a window in the middle of the primary screen's free area, as the
// program's windows and dialogs open.
inline void centreOnScreen(QWidget& window)
{
    if (const QScreen* screen = QApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

// Puts a dialog in the middle of the window it belongs to (its parent's
// window, when shown), kept on that window's screen; without a shown
// owner, in the middle of the primary screen.
inline void centreOverOwner(QWidget& dialog)
{
    const QWidget* owner = dialog.parentWidget() != nullptr ? dialog.parentWidget()->window() : nullptr;
    if (owner == nullptr || !owner->isVisible()) {
        centreOnScreen(dialog);
        return;
    }
    QRect place(owner->frameGeometry().center() - dialog.rect().center(), dialog.size());
    if (const QScreen* screen = owner->screen()) {
        const QRect free = screen->availableGeometry();
        place.moveLeft(std::clamp(place.left(), free.left(), std::max(free.left(), free.right() - place.width())));
        place.moveTop(std::clamp(place.top(), free.top(), std::max(free.top(), free.bottom() - place.height())));
    }
    dialog.move(place.topLeft());
}

// The size of the main window's first start: about two thirds of the
// screen's free area, never below `least`.
inline QSize firstWindowSize(QSize least)
{
    const QScreen* screen = QApplication::primaryScreen();
    if (screen == nullptr)
        return least;
    return (screen->availableGeometry().size() * 2 / 3).expandedTo(least);
}

}  // namespace doxel
