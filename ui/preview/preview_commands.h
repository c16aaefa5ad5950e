#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

#include "ui/kit/command_context.h"
#include "ui/logic/topic_preview.h"
#include "ui/preview/web_browser.h"

class QTabWidget;

namespace doxel {

class ContentsPage;
class ContentsEditor;
class KeywordIndex;
class PreviewPage;

// The commands of the "Preview" page (ToolBar3 and its editor menu), the
// preview and editor commands of the contents tree, the page change to
// the preview and the browser's reports. The rules are TopicPreview's;
// this class is its window: it makes the browser the first time a page is
// shown, selects entries in the tree, and starts the editors.
class PreviewCommands final : public QObject, private PreviewHost {
    Q_OBJECT

public:
    // Makes the browser as a child of `parent`; null when it cannot (the
    // web engine is missing), with `error` saying why.
    using BrowserFactory = std::function<WebBrowser*(QWidget* parent, const WebBrowserEvents& events, QString* error)>;

    // `blankPage`: the page shown for an entry without a file; `factory`:
    // the web engine module's browser when not given.
    PreviewCommands(const CommandContext& context, QTabWidget& pages, PreviewPage& page, ContentsPage& contents,
                    ContentsEditor& editor, KeywordIndex& keywords, std::string blankPage, BrowserFactory factory = {});
    ~PreviewCommands() override;

    TopicPreview& preview() { return m_preview; }
    // Another way to make the browser (a test's stand-in); only before the
    // first page was shown.
    void setBrowserFactory(BrowserFactory factory) { m_factory = std::move(factory); }
    // The browser, null until the preview first showed a page.
    WebBrowser* webBrowser() const { return m_browser; }

    void previewSelectedEntry();
    void pageChanged();
    void previousTopic();
    void nextTopic();
    void refresh();
    void keywordFromSelection();
    void editShownPageInTextEditor();
    void editShownPageInHtmlEditor();
    void editEntryInTextEditor();
    void editEntryInHtmlEditor();
    void pageLoaded(const std::string& path);

private:
    // PreviewHost
    PreviewBrowser& browser() override;
    PreviewBrowser* existingBrowser() override;
    ContentsEntry* selectedEntry() override;
    void selectEntry(const ContentsEntry& entry) override;
    void showPreviewPage() override;
    void openSettingsDialog() override;
    void openInTextEditor(const std::string& file) override;
    void startHtmlEditor(const std::vector<std::string>& command, const std::string& file,
                         const std::string& folder) override;

    template <typename Command>
    void run(Command&& command);

    CommandContext m_context;
    QTabWidget& m_pages;
    PreviewPage& m_page;
    ContentsPage& m_contents;
    ContentsEditor& m_editor;
    BrowserFactory m_factory;
    TopicPreview m_preview;
    WebBrowser* m_browser = nullptr;
    // Stands in when the web engine cannot be loaded.
    std::unique_ptr<PreviewBrowser> m_noBrowser;
    bool m_switchingPage = false;
};

}  // namespace doxel
