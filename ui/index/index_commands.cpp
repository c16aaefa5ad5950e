#include "ui/index/index_commands.h"

#include <QItemSelectionModel>
#include <QPointer>

#include "core/path_rules.h"
#include "ui/index/index_page.h"
#include "ui/index/keyword_properties_dialog.h"
#include "ui/index/list_models.h"
#include "ui/logic/string_table.h"

namespace doxel {

IndexCommands::IndexCommands(const CommandContext& context, IndexPage& page, KeywordModel& model,
                             std::function<const ContentsEntry*()> selectedEntry)
    : QObject(&context.window),
      m_context(context),
      m_page(page),
      m_model(model),
      m_selectedEntry(std::move(selectedEntry)),
      m_index(context.project, *this)
{
    m_index.setObserver(this);
    m_index.setHistory(&context.documents.history());
    ActionRegistry& actions = m_context.actions;
    actions.bind({Command::AddKeywordToEntryButton, Command::AddKeywordButton}, this, &IndexCommands::addKeyword);
    actions.bind({Command::EditKeywordButton}, this, &IndexCommands::editKeyword);
    actions.bind({Command::DeleteKeywordButton}, this, &IndexCommands::deleteKeyword);
    actions.bind({Command::DeleteAllKeywordsButton}, this, &IndexCommands::deleteAllKeywords);
    actions.bind({Command::KeywordUpButton}, this, &IndexCommands::moveKeywordUp);
    actions.bind({Command::KeywordDownButton}, this, &IndexCommands::moveKeywordDown);
    actions.bind({Command::SortKeywordsButton}, this, &IndexCommands::toggleSorting);
    showMovesEnabled();

    KeyView* view = m_page.keyView();
    connect(view, &KeyView::keyPressed, this, &IndexCommands::keyPressedInList);
    connect(view, &KeyView::rowDoubleClicked, this, &IndexCommands::editKeywordText);
    connect(view, &KeyView::columnClicked, this, &IndexCommands::sortByColumn);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &IndexCommands::viewSelectionChanged);
    // The window's models may outlive the command sets or go before them.
    m_model.setProjectReplacedHandler([alive = QPointer<IndexCommands>(this)] {
        if (alive)
            alive->projectReplaced();
    });
    connect(&m_model, &KeywordModel::keywordEdited, this, &IndexCommands::applyEditedKeyword);
}

IndexCommands::~IndexCommands()
{
    m_index.setObserver(nullptr);
}

template <typename Command>
void IndexCommands::run(Command&& command)
{
    ++m_depth;
    m_context.runner.run(command);
    --m_depth;
}

void IndexCommands::addKeyword()
{
    run([this] { m_index.add(m_selectedEntry()); });
}

// The button opens the row's properties (its keyword and file); a
// double-click or F2 asks for the keyword alone.
void IndexCommands::editKeyword()
{
    run([this] { m_index.editProperties(); });
}

void IndexCommands::editKeywordText()
{
    run([this] { m_index.edit(); });
}

void IndexCommands::deleteKeyword()
{
    run([this] { m_index.deleteSelected(); });
}

void IndexCommands::deleteAllKeywords()
{
    run([this] { m_index.deleteAll(); });
}

void IndexCommands::moveKeywordUp()
{
    run([this] { m_index.moveUp(); });
}

void IndexCommands::moveKeywordDown()
{
    run([this] { m_index.moveDown(); });
}

void IndexCommands::toggleSorting(bool down)
{
    run([this, down] { m_index.setAutoSort(down); });
}

void IndexCommands::sortByColumn(int column)
{
    run([this, column] { m_index.headerClicked(column); });
}

void IndexCommands::keyPressedInList(KeywordKey key)
{
    run([this, key] { m_index.keyDown(key); });
}

void IndexCommands::applyEditedKeyword(int row, const QString& text)
{
    run([this, row, &text] { m_index.setKeyword(static_cast<std::size_t>(row), text.toStdString()); });
}

void IndexCommands::projectReplaced()
{
    // Inside the model's reset: the views learn of the new order with it.
    m_replacing = true;
    run([this] { m_index.projectReplaced(); });
    m_replacing = false;
}

void IndexCommands::viewSelectionChanged()
{
    if (m_depth > 0)
        return;
    const QModelIndexList rows = m_page.keyView()->selectionModel()->selectedRows();
    std::optional<std::size_t> row;
    if (!rows.isEmpty())
        row = static_cast<std::size_t>(rows.first().row());
    run([this, row] { m_index.select(row); });
}

void IndexCommands::showMovesEnabled()
{
    const bool enabled = m_index.movesEnabled();
    m_context.actions.action(Command::KeywordUpButton)->setEnabled(enabled);
    m_context.actions.action(Command::KeywordDownButton)->setEnabled(enabled);
    m_context.actions.action(Command::SortKeywordsButton)->setChecked(m_index.autoSort());
}

// --- KeywordObserver

void IndexCommands::rowsAboutToBeInserted(std::size_t first, std::size_t last)
{
    m_model.beginInsertKeywords(static_cast<int>(first), static_cast<int>(last));
}

void IndexCommands::rowsInserted()
{
    m_model.endInsertKeywords();
}

void IndexCommands::rowsAboutToBeRemoved(std::size_t first, std::size_t last)
{
    m_model.beginRemoveKeywords(static_cast<int>(first), static_cast<int>(last));
}

void IndexCommands::rowsRemoved()
{
    m_model.endRemoveKeywords();
}

void IndexCommands::rowAboutToBeMoved(std::size_t row, std::size_t destination)
{
    m_model.beginMoveKeyword(static_cast<int>(row), static_cast<int>(destination));
}

void IndexCommands::rowMoved()
{
    m_model.endMoveKeyword();
}

void IndexCommands::orderAboutToChange()
{
    if (!m_replacing)
        m_model.beginReorder();
}

void IndexCommands::orderChanged()
{
    if (!m_replacing)
        m_model.endReorder();
}

void IndexCommands::rowsChanged(std::size_t first, std::size_t last)
{
    m_model.keywordsChanged(static_cast<int>(first), static_cast<int>(last));
}

void IndexCommands::selectionChanged(std::optional<std::size_t> row)
{
    if (m_replacing)
        return;
    ++m_depth;
    m_page.showSelectedRow(row ? static_cast<int>(*row) : -1);
    --m_depth;
}

void IndexCommands::autoSortChanged(bool)
{
    showMovesEnabled();
}

// --- KeywordDesktop

void IndexCommands::beep()
{
    m_context.desktop.beep();
}

std::string IndexCommands::text(int id)
{
    return loadText(m_context.settings, id);
}

std::optional<std::string> IndexCommands::askText(const std::string& caption, const std::string& prompt,
                                                  const std::string& text)
{
    return m_context.desktop.inputBox(caption, prompt, text);
}

std::optional<KeywordEntry> IndexCommands::askProperties(const KeywordEntry& current,
                                                         const std::vector<std::string>& files)
{
    std::vector<std::string> shown;
    shown.reserve(files.size());
    for (const std::string& file : files)
        shown.push_back(projectRelativePath(file, m_context.project.projectFile));
    TKeywordProperties dialog(m_context.settings, current, files, shown, &m_context.window);
    if (!m_context.dialogs.run(dialog))
        return std::nullopt;
    return dialog.values();
}

bool IndexCommands::askYesNo(int textId, int captionId)
{
    return showMessage(m_context.desktop, loadText(m_context.settings, textId), loadText(m_context.settings, captionId),
                       MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::No) == MessageAnswer::Yes;
}

}  // namespace doxel
