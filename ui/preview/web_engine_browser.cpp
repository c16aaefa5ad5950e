// The module that holds the web engine; see web_browser.h. It links
// nothing of the program but Qt, so that it carries no second copy of the
// program's state.
#include <QLoggingCategory>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include "ui/preview/web_browser.h"

namespace doxel {
namespace {

class WebEngineBrowser final : public QWebEngineView, public WebBrowser {
public:
    WebEngineBrowser(QWidget* parent, WebBrowserEvents events) : QWebEngineView(parent), m_events(std::move(events))
    {
        setContextMenuPolicy(Qt::NoContextMenu);
        connect(page(), &QWebEnginePage::loadingChanged, this,
                [this](const QWebEngineLoadingInfo& info) { loadingChanged(info); });
    }

    QWidget* widget() override { return this; }

    void navigate(const std::string& file, const std::string& anchor) override
    {
        QUrl url = QUrl::fromLocalFile(QString::fromStdString(file));
        if (!anchor.empty())
            url.setFragment(QString::fromStdString(anchor));
        m_requested = url.adjusted(QUrl::RemoveFragment);
        // The same page again is loaded again, as a reload would: the file
        // may have changed on disk since.
        if (QWebEngineView::url() == url)
            reload();
        else
            load(url);
    }

    void refresh() override { reload(); }

    std::string selectedText() override { return QWebEngineView::selectedText().toStdString(); }

private:
    void loadingChanged(const QWebEngineLoadingInfo& info)
    {
        const QUrl page = info.url().adjusted(QUrl::RemoveFragment);
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            if (m_events.navigateComplete)
                m_events.navigateComplete(page.isLocalFile() ? page.toLocalFile().toStdString() : std::string());
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            // Only a page the preview asked for is its error; a link the
            // author followed shows the engine's own error page.
            if (page == m_requested && m_events.navigationFailed)
                m_events.navigationFailed();
            break;
        default:
            break;
        }
    }

    WebBrowserEvents m_events;
    QUrl m_requested;
};

}  // namespace
}  // namespace doxel

extern "C" Q_DECL_EXPORT doxel::WebBrowser* doxelCreateWebBrowser(QWidget* parent,
                                                                  const doxel::WebBrowserEvents& events)
{
    // The engine describes its graphics set-up on the terminal when it
    // starts; that is no news to the author.
    static const bool quiet = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
        return true;
    }();
    (void)quiet;
    return new doxel::WebEngineBrowser(parent, events);
}

extern "C" Q_DECL_EXPORT const char* doxelWebEngineVersion(int part)
{
    return part == 0 ? qWebEngineChromiumVersion() : qWebEngineVersion();
}
