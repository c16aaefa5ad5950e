#include "ui/preview/web_browser_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace doxel {

CreateWebBrowserFunction loadWebBrowserFactory(QString* error, const QString& modulePath)
{
    QStringList candidates;
    if (!modulePath.isEmpty()) {
        candidates << modulePath;
    } else {
        const QString name = QString::fromLatin1(kWebBrowserModuleName);
        const QDir folder(QCoreApplication::applicationDirPath());
        candidates << folder.filePath(name) << folder.filePath(QStringLiteral("../lib/html-doxel/") + name);
    }
    QString problems;
    for (const QString& candidate : candidates) {
        // Loaded once for the whole run: the engine cannot be unloaded.
        QLibrary library(candidate);
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (auto* create = reinterpret_cast<CreateWebBrowserFunction>(library.resolve(kCreateWebBrowserSymbol)))
            return create;
        problems += (problems.isEmpty() ? QString() : QStringLiteral("\n")) + library.errorString();
    }
    if (error != nullptr)
        *error = problems;
    return nullptr;
}

}  // namespace doxel
