#include "ui/preview/preview_commands.h"

#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

#include "core/text_ids.h"
#include "editing/contents_editor.h"
#include "platform/text_editor.h"
#include "ui/contents/contents_page.h"
#include "ui/kit/qt_text.h"
#include "ui/logic/command_runner.h"
#include "ui/preview/preview_page.h"
#include "ui/preview/web_browser_loader.h"

namespace doxel {
namespace {

// The preview when the web engine could not be loaded: it shows nothing,
// and the page says why instead.
class NoBrowser final : public PreviewBrowser {
public:
    void navigate(const std::string&, const std::string&) override {}
    void refresh() override {}
    std::string selectedText() override { return {}; }
};

WebBrowser* webEngineBrowser(QWidget* parent, const WebBrowserEvents& events, QString* error)
{
    static const CreateWebBrowserFunction create = loadWebBrowserFactory(error);
    if (create == nullptr) {
        if (error != nullptr && error->isEmpty())
            *error = QStringLiteral("The web engine module could not be loaded.");
        return nullptr;
    }
    return create(parent, events);
}

}  // namespace

PreviewCommands::PreviewCommands(const CommandContext& context, QTabWidget& pages, PreviewPage& page,
                                 ContentsPage& contents, ContentsEditor& editor, KeywordIndex& keywords,
                                 std::string blankPage, BrowserFactory factory)
    : QObject(&context.window),
      m_context(context),
      m_pages(pages),
      m_page(page),
      m_contents(contents),
      m_editor(editor),
      m_factory(factory ? std::move(factory) : BrowserFactory(webEngineBrowser)),
      m_preview(context.project, context.settings, context.desktop, *this, keywords, std::move(blankPage))
{
    ActionRegistry& actions = m_context.actions;
    actions.bind({Command::PopupPreview}, this, &PreviewCommands::previewSelectedEntry);
    actions.bind({Command::PreviousTopicButton}, this, &PreviewCommands::previousTopic);
    actions.bind({Command::NextTopicButton}, this, &PreviewCommands::nextTopic);
    actions.bind({Command::RefreshButton}, this, &PreviewCommands::refresh);
    actions.bind({Command::KeywordFromSelectionButton}, this, &PreviewCommands::keywordFromSelection);
    actions.bind({Command::EditInTextEditor}, this, &PreviewCommands::editShownPageInTextEditor);
    actions.bind({Command::EditInHtmlEditor}, this, &PreviewCommands::editShownPageInHtmlEditor);
    actions.bind({Command::PopupOpenInTextEditor, Command::OpenInTextEditor}, this,
                 &PreviewCommands::editEntryInTextEditor);
    actions.bind({Command::PopupOpenInHtmlEditor, Command::OpenInHtmlEditor}, this,
                 &PreviewCommands::editEntryInHtmlEditor);
    // The face of the editor button has no command of its own: it opens
    // the menu of the two editors.
    actions.bind({Command::EditPageButton}, this, [this] {
        if (QToolButton* button = m_page.editButton())
            button->showMenu();
    });

    connect(&m_pages, &QTabWidget::currentChanged, this, &PreviewCommands::pageChanged);
    connect(m_contents.tree(), &QAbstractItemView::doubleClicked, this, &PreviewCommands::previewSelectedEntry);
}

PreviewCommands::~PreviewCommands() = default;

template <typename Command>
void PreviewCommands::run(Command&& command)
{
    m_context.runner.run(command);
}

void PreviewCommands::previewSelectedEntry()
{
    run([this] { m_preview.previewSelected(); });
}

void PreviewCommands::pageChanged()
{
    if (m_switchingPage || m_pages.currentWidget() != &m_page)
        return;
    run([this] { m_preview.pageShown(); });
}

void PreviewCommands::previousTopic()
{
    run([this] { m_preview.previous(); });
}

void PreviewCommands::nextTopic()
{
    run([this] { m_preview.next(); });
}

void PreviewCommands::refresh()
{
    run([this] { m_preview.refresh(); });
}

void PreviewCommands::keywordFromSelection()
{
    run([this] { m_preview.keywordFromSelection(); });
}

void PreviewCommands::editShownPageInTextEditor()
{
    run([this] { m_preview.editDocumentInNotepad(); });
}

void PreviewCommands::editShownPageInHtmlEditor()
{
    run([this] { m_preview.editDocumentInHtmlEditor(); });
}

void PreviewCommands::editEntryInTextEditor()
{
    run([this] { m_preview.editEntryInNotepad(); });
}

void PreviewCommands::editEntryInHtmlEditor()
{
    run([this] { m_preview.editEntryInHtmlEditor(); });
}

void PreviewCommands::pageLoaded(const std::string& path)
{
    run([this, &path] { m_preview.navigateComplete(path); });
}

// --- PreviewHost

PreviewBrowser& PreviewCommands::browser()
{
    if (m_browser != nullptr)
        return *m_browser;
    if (m_noBrowser)
        return *m_noBrowser;
    QPointer<PreviewCommands> alive(this);
    WebBrowserEvents events;
    events.navigateComplete = [alive](const std::string& path) {
        if (alive)
            alive->pageLoaded(path);
    };
    events.navigationFailed = [alive] {
        if (alive)
            alive->run([&alive] { alive->m_preview.navigationFailed(); });
    };
    QString error;
    m_browser = m_factory(&m_page, events, &error);
    if (m_browser == nullptr) {
        auto* reason = new QLabel(
            localText(m_context.settings, text_id::kPreviewNotAvailable).replace(QLatin1String("%1"), error), &m_page);
        reason->setWordWrap(true);
        reason->setAlignment(Qt::AlignCenter);
        m_page.setBrowser(reason);
        m_noBrowser = std::make_unique<NoBrowser>();
        return *m_noBrowser;
    }
    m_page.setBrowser(m_browser->widget());
    return *m_browser;
}

PreviewBrowser* PreviewCommands::existingBrowser()
{
    return m_browser;
}

ContentsEntry* PreviewCommands::selectedEntry()
{
    return m_editor.selected();
}

void PreviewCommands::selectEntry(const ContentsEntry& entry)
{
    m_contents.selectEntry(&entry);
}

void PreviewCommands::showPreviewPage()
{
    m_switchingPage = true;
    m_pages.setCurrentWidget(&m_page);
    m_switchingPage = false;
}

void PreviewCommands::openSettingsDialog()
{
    // The settings dialog is the Preferences command's.
    m_context.actions.action(Command::Settings)->trigger();
}

void PreviewCommands::openInTextEditor(const std::string& file)
{
    // Without a text editor of its own the desktop's handler is asked.
    if (!doxel::openInTextEditor(m_context.desktop, file))
        m_context.desktop.openDocument(file);
}

void PreviewCommands::startHtmlEditor(const std::vector<std::string>& command, const std::string& file,
                                      const std::string& folder)
{
    std::vector<std::string> words = expandExecWords(command, file);
    if (words.empty())
        return;
    const std::string program = words.front();
    words.erase(words.begin());
    m_context.desktop.startProgram(program, words, folder);
}

}  // namespace doxel
