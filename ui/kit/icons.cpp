#include "ui/kit/icons.h"

#include <QPainter>
#include <QPixmap>
#include <QString>

#include <array>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initIconsQrc()
{
    Q_INIT_RESOURCE(icons);
}

namespace doxel {
namespace {

// How much of a tool bar picture a disabled button shows.
constexpr double kDisabledOpacity = 0.3;

}  // namespace

void initIconResources()
{
    static const bool done = [] {
        initIconsQrc();
        return true;
    }();
    (void)done;
}

QIcon resourceIcon(const char* path)
{
    initIconResources();
    return QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(path));
}

QIcon contentsIcon(int number)
{
    static const std::array<QIcon, 43> icons = [] {
        std::array<QIcon, 43> all;
        for (int n = 0; n < 43; ++n)
            all[static_cast<std::size_t>(n)] =
                resourceIcon(QStringLiteral("contents/%1.svg").arg(n, 2, 10, QLatin1Char('0')).toLatin1().constData());
        return all;
    }();
    if (number < 0 || number > 42)
        return {};
    return icons[static_cast<std::size_t>(number)];
}

QIcon toolbarIcon(const char* name, bool colored)
{
    initIconResources();
    const QString color = QStringLiteral(":/icons/toolbar/color/%1.svg").arg(QLatin1String(name));
    const QString grey = QStringLiteral(":/icons/toolbar/grey/%1.svg").arg(QLatin1String(name));
    const QIcon plain(colored ? color : grey);
    const QIcon active(color);
    // The grey art is the plain look of an enabled button; a disabled one
    // is faded well past it, so the two never read alike.
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        const QPixmap normal = plain.pixmap(QSize(size, size), 1.0);
        QPixmap faded(normal.size());
        faded.fill(Qt::transparent);
        QPainter painter(&faded);
        painter.setOpacity(kDisabledOpacity);
        painter.drawPixmap(0, 0, normal);
        painter.end();
        icon.addPixmap(normal, QIcon::Normal);
        icon.addPixmap(active.pixmap(QSize(size, size), 1.0), QIcon::Active);
        icon.addPixmap(faded, QIcon::Disabled);
    }
    return icon;
}

QIcon programIcon()
{
    return resourceIcon("app/html-doxel.svg");
}

}  // namespace doxel
