#include "ui/preview/web_browser_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibrary>
#include <QOpenGLContext>

// Exported by Qt GUI for the web engine and Qt Quick (the engine itself
// calls it when it starts before the application object); no public header
// declares it.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace doxel {
namespace {

bool g_moduleLoaded = false;

// The web engine draws through a context shared with the window's. Made
// here, just before the module is loaded, rather than by setting
// AA_ShareOpenGLContexts before the application exists: that would make
// every start-up create an OpenGL context, and with software rendering
// map tens of megabytes, for a preview the author may never open.
void shareOpenGlContexts()
{
    if (QOpenGLContext::globalShareContext() != nullptr || qobject_cast<QGuiApplication*>(qApp) == nullptr)
        return;
    auto* context = new QOpenGLContext(qApp);
    context->setFormat(QSurfaceFormat::defaultFormat());
    if (!context->create()) {
        delete context;  // the engine renders without the GPU then
        return;
    }
    // The attribute itself can only be set before the application exists;
    // the engine looks for the context.
    qt_gl_set_global_share_context(context);
}

QFunctionPointer resolveInModule(const char* symbol, QString* error, const QString& modulePath)
{
    QStringList candidates;
    if (!modulePath.isEmpty()) {
        candidates << modulePath;
    } else {
        const QString name = QString::fromLatin1(kWebBrowserModuleName);
        const QDir folder(QCoreApplication::applicationDirPath());
        candidates << folder.filePath(name) << folder.filePath(QStringLiteral("../lib/html-doxel/modules/") + name);
    }
    shareOpenGlContexts();
    QString problems;
    for (const QString& candidate : candidates) {
        // Loaded once for the whole run: the engine cannot be unloaded.
        QLibrary library(candidate);
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (QFunctionPointer function = library.resolve(symbol)) {
            g_moduleLoaded = true;
            return function;
        }
        problems += (problems.isEmpty() ? QString() : QStringLiteral("\n")) + library.errorString();
    }
    if (error != nullptr)
        *error = problems;
    return nullptr;
}

}  // namespace

CreateWebBrowserFunction loadWebBrowserFactory(QString* error, const QString& modulePath)
{
    return reinterpret_cast<CreateWebBrowserFunction>(resolveInModule(kCreateWebBrowserSymbol, error, modulePath));
}

WebEngineVersionFunction loadWebEngineVersion(QString* error, const QString& modulePath)
{
    return reinterpret_cast<WebEngineVersionFunction>(resolveInModule(kWebEngineVersionSymbol, error, modulePath));
}

bool webEngineModuleLoaded()
{
    return g_moduleLoaded;
}

}  // namespace doxel
