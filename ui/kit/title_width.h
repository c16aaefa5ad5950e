#pragma once

#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace doxel {

// The width a small box needs to show `title` whole in its title bar.
inline int widthForTitle(const QWidget& window, const QString& title)
{
    // The window manager draws the title in about the application's font,
    // beside an icon and three buttons.
    constexpr int kTitleBarControls = 140;
    return QFontMetrics(window.font()).horizontalAdvance(title) + kTitleBarControls;
}

}  // namespace doxel
