#include "ui/main/icons.h"

#include <QString>

#include <array>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initIconsQrc()
{
    Q_INIT_RESOURCE(icons);
}

namespace doxel {

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
            all[static_cast<std::size_t>(n)] = resourceIcon(QStringLiteral("contents/%1.svg").arg(n, 2, 10, QLatin1Char('0')).toLatin1().constData());
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
    QIcon icon;
    icon.addFile(colored ? color : grey, {}, QIcon::Normal);
    icon.addFile(color, {}, QIcon::Active);
    return icon;
}

QIcon programIcon()
{
    return resourceIcon("app/html-doxel.svg");
}

}  // namespace doxel
