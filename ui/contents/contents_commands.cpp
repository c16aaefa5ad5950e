#include "ui/contents/contents_commands.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

#include "editing/item_properties.h"
#include "ui/contents/contents_model.h"
#include "ui/contents/contents_page.h"
#include "ui/contents/item_properties_dialog.h"
#include "ui/index/list_models.h"
#include "ui/kit/qt_text.h"
#include "ui/logic/string_table.h"

namespace doxel {

// Marks the span of one editor command: the view's echo of it is ignored,
// and expansion reports collected during it reach the tree at its end.
class ContentsCommands::EditorCall {
public:
    explicit EditorCall(ContentsCommands& commands) : m_commands(commands) { ++m_commands.m_depth; }
    ~EditorCall()
    {
        if (--m_commands.m_depth == 0)
            m_commands.applyPendingExpansion();
    }
    EditorCall(const EditorCall&) = delete;
    EditorCall& operator=(const EditorCall&) = delete;

private:
    ContentsCommands& m_commands;
};

ContentsCommands::ContentsCommands(const CommandContext& context, ContentsPage& page, FileListModel& files,
                                   QMenu& itemPopup)
    : QObject(&context.window),
      m_context(context),
      m_page(page),
      m_model(page.model()),
      m_modelAlive(&page.model()),
      m_tree(*page.tree()),
      m_files(files),
      m_itemPopup(itemPopup),
      m_desktop(context.desktop, context.settings, context.project,
                [documents = &context.documents] { documents->saveAs(); }),
      m_editor(context.project, context.settings, m_desktop, context.progress)
{
    m_editor.setObserver(this);
    m_editor.setHistory(&context.documents.history());
    m_model.setEditor(&m_editor);
    bindActions();
    connectTree();
}

ContentsCommands::~ContentsCommands()
{
    // The window's children go in the order they were made, the model
    // before this object.
    if (ContentsModel* model = m_modelAlive.data())
        model->setEditor(nullptr);
    m_editor.setObserver(nullptr);
}

void ContentsCommands::bindActions()
{
    ActionRegistry& actions = m_context.actions;
    actions.bind({Command::AddTopicsButton, Command::AddTopics, Command::PopupAddTopics}, this,
                 &ContentsCommands::addTopics);
    actions.bind({Command::AddHeaderButton, Command::AddHeader, Command::PopupAddHeader}, this,
                 &ContentsCommands::addHeader);
    actions.bind({Command::DeleteEntryButton, Command::DeleteEntry, Command::PopupDelete}, this,
                 &ContentsCommands::deleteEntry);
    actions.bind({Command::MoveUpButton}, this, &ContentsCommands::moveEntryUp);
    actions.bind({Command::MoveDownButton}, this, &ContentsCommands::moveEntryDown);
    actions.bind({Command::MoveLeftButton}, this, &ContentsCommands::moveEntryLeft);
    actions.bind({Command::MoveRightButton}, this, &ContentsCommands::moveEntryRight);
    actions.bind({Command::IconToAllHeaders, Command::PopupIconToAllHeaders}, this,
                 &ContentsCommands::assignIconToAllHeaders);
    actions.bind({Command::IconToAllTopics, Command::PopupIconToAllTopics}, this,
                 &ContentsCommands::assignIconToAllTopics);
    actions.bind({Command::IconToHeadersOfLevel, Command::PopupIconToHeadersOfLevel}, this,
                 &ContentsCommands::assignIconToHeadersOfLevel);
    actions.bind({Command::IconToTopicsOfLevel, Command::PopupIconToTopicsOfLevel}, this,
                 &ContentsCommands::assignIconToTopicsOfLevel);
    actions.bind({Command::SortAlphabetically}, this, &ContentsCommands::sortAlphabetically);
    actions.bind({Command::DoNotSort}, this, &ContentsCommands::stopSorting);
    actions.bind({Command::ExpandAll}, this, &ContentsCommands::expandAll);
    actions.bind({Command::CollapseAll}, this, &ContentsCommands::collapseAll);
    actions.bind({Command::MakeDefaultEntry}, this, &ContentsCommands::makeDefaultEntry);
    actions.bind({Command::AddAsChildButton}, this, &ContentsCommands::toggleAddAsChild);
    actions.bind({Command::PopupProperties}, this, &ContentsCommands::editEntryProperties);
    connect(actions.menu(Menu::ItemsMenu), &QMenu::aboutToShow, this, &ContentsCommands::updateCommandStates);
    connect(&m_itemPopup, &QMenu::aboutToShow, this, &ContentsCommands::updatePopupStates);
}

void ContentsCommands::connectTree()
{
    connect(m_page.imageCombo(), &QComboBox::activated, this, &ContentsCommands::iconChosen);
    connect(&m_tree, &ContentsTree::keyPressed, this, &ContentsCommands::treeKeyDown);
    connect(&m_tree, &ContentsTree::popupRequested, this, &ContentsCommands::treeMouseDown);
    connect(&m_tree, &ContentsTree::editingStarted, this, &ContentsCommands::treeEditing);
    connect(&m_tree, &ContentsTree::editingEnded, this, &ContentsCommands::treeEdited);
    connect(&m_tree, &ContentsTree::dragStarted, this, &ContentsCommands::treeStartDrag);
    connect(&m_tree, &ContentsTree::dropped, this, &ContentsCommands::treeDragDrop);
    connect(&m_tree, &ContentsTree::dragEnded, this, &ContentsCommands::treeEndDrag);
    connect(&m_tree, &ContentsTree::filesDropped, this, &ContentsCommands::treeFilesDropped);
    connect(&m_page, &ContentsPage::entryExpanded, this, &ContentsCommands::treeExpanding);
    connect(&m_page, &ContentsPage::entryCollapsed, this, &ContentsCommands::treeCollapsing);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &ContentsCommands::showToggles);
}

template <typename EditorCommand>
void ContentsCommands::run(EditorCommand&& command)
{
    m_context.runner.run([this, &command] {
        EditorCall call(*this);
        command();
    });
}

// --- Commands

void ContentsCommands::addTopics()
{
    run([this] { m_editor.addTopics(); });
}

void ContentsCommands::addHeader()
{
    run([this] { m_editor.addHeader(); });
}

void ContentsCommands::deleteEntry()
{
    run([this] { m_editor.deleteSelected(); });
}

void ContentsCommands::moveSelected(MoveDirection direction)
{
    run([this, direction] { m_editor.moveSelected(direction); });
    // The moved entry stays selected; keep it in sight.
    m_tree.scrollTo(m_tree.currentIndex());
}

void ContentsCommands::moveEntryUp()
{
    moveSelected(MoveDirection::Up);
}

void ContentsCommands::moveEntryDown()
{
    moveSelected(MoveDirection::Down);
}

void ContentsCommands::moveEntryLeft()
{
    moveSelected(MoveDirection::Left);
}

void ContentsCommands::moveEntryRight()
{
    moveSelected(MoveDirection::Right);
}

void ContentsCommands::assignIconToAllHeaders()
{
    run([this] { m_editor.assignIcon(IconTarget::AllHeaders); });
}

void ContentsCommands::assignIconToAllTopics()
{
    run([this] { m_editor.assignIcon(IconTarget::AllTopics); });
}

void ContentsCommands::assignIconToHeadersOfLevel()
{
    run([this] { m_editor.assignIcon(IconTarget::HeadersOfLevel); });
}

void ContentsCommands::assignIconToTopicsOfLevel()
{
    run([this] { m_editor.assignIcon(IconTarget::TopicsOfLevel); });
}

void ContentsCommands::sortAlphabetically()
{
    run([this] { m_editor.sortAlphabetically(); });
    showToggles();
}

void ContentsCommands::stopSorting()
{
    run([this] { m_editor.stopSorting(); });
    showToggles();
}

void ContentsCommands::expandAll()
{
    run([this] { m_editor.expandAll(); });
}

void ContentsCommands::collapseAll()
{
    run([this] { m_editor.collapseAll(); });
}

void ContentsCommands::makeDefaultEntry()
{
    run([this] { m_editor.setDefaultTopic(); });
}

void ContentsCommands::toggleAddAsChild(bool down)
{
    run([this, down] { m_editor.setInsertAsChild(down); });
}

void ContentsCommands::iconChosen(int row)
{
    run([this, row] { m_editor.chooseIcon(row); });
}

std::string ContentsCommands::chooseSourceFile(const std::string& current)
{
    std::string chosen = current;
    m_context.runner.run(
        [&] { chosen = doxel::chooseSourceFile(m_desktop, m_editor.project(), current, m_editor.pathStyle()); });
    return chosen;
}

void ContentsCommands::editEntryProperties()
{
    run([this] {
        const std::optional<ItemProperties> values = itemPropertiesToEdit(m_editor);
        if (!values)
            return;
        ContentsEntry& entry = *m_editor.selected();
        TItemProperties dialog(
            m_context.settings, *values, [this](const std::string& current) { return chooseSourceFile(current); },
            &m_context.window);
        dialog.setConfirmation([this, &entry](const ItemProperties& typed) {
            const std::optional<HelpIdRefusal> refusal = checkItemProperties(m_editor, entry, typed);
            if (refusal)
                showMessage(m_context.desktop, refusalMessage(loadText(m_context.settings, refusal->textId), *refusal),
                            loadText(m_context.settings, text_id::kHelpId), MessageButtons::Ok, MessageIcon::Warning);
            return !refusal;
        });
        if (!m_context.dialogs.run(dialog))
            return;
        applyItemProperties(m_editor, entry, dialog.values());
    });
}

// --- Enabling

void ContentsCommands::enableItem(Command command, bool enabled)
{
    QAction* action = m_context.actions.action(command);
    if (action == nullptr)
        return;
    action->setEnabled(enabled);
}

void ContentsCommands::setPageCurrent(bool current)
{
    m_pageCurrent = current;
    updateCommandStates();
}

void ContentsCommands::updateCommandStates()
{
    // The Edit menu's commands act on the tree; on another page only Undo
    // and Redo, which act on the whole project, stay (their keys too).
    for (QAction* action : m_context.actions.menu(Menu::ItemsMenu)->actions()) {
        if (!action->isSeparator() && action != m_context.actions.action(Command::Undo) &&
            action != m_context.actions.action(Command::Redo))
            action->setEnabled(m_pageCurrent);
    }
    if (!m_pageCurrent)
        return;
    const CommandStates states = m_editor.commandStates();
    enableItem(Command::AddHeader, states.addEntries);
    enableItem(Command::DeleteEntry, states.deleteEntry);
    m_context.actions.menu(Menu::AssignIconMenu)->menuAction()->setEnabled(states.assignIcon);
    enableItem(Command::MakeDefaultEntry, states.setDefaultTopic);
    enableItem(Command::OpenInHtmlEditor, states.openInEditor);
    enableItem(Command::OpenInTextEditor, states.openInEditor);
}

void ContentsCommands::updatePopupStates()
{
    const CommandStates states = m_editor.commandStates();
    enableItem(Command::PopupPreview, states.preview);
    enableItem(Command::PopupAddTopics, states.addEntries);
    enableItem(Command::PopupAddHeader, states.addEntries);
    enableItem(Command::PopupDelete, states.deleteEntry);
    enableItem(Command::PopupProperties, states.properties);
    m_context.actions.menu(Menu::PopupAssignIconMenu)->menuAction()->setEnabled(states.assignIcon);
    enableItem(Command::PopupOpenInHtmlEditor, states.openInEditor);
    enableItem(Command::PopupOpenInTextEditor, states.openInEditor);
}

void ContentsCommands::showToggles()
{
    const bool sorted = m_editor.sortMode() == SortMode::Alphabetical;
    m_context.actions.action(Command::SortAlphabetically)->setChecked(sorted);
    m_context.actions.action(Command::DoNotSort)->setChecked(!sorted);
}

// --- The tree's gestures

void ContentsCommands::treeChange(ContentsEntry* entry)
{
    if (echo())
        return;
    run([this, entry] { m_editor.select(entry); });
}

void ContentsCommands::treeKeyDown(TreeKey key)
{
    run([this, key] { m_editor.keyDown(key); });
}

void ContentsCommands::treeMouseDown(const QModelIndex& index, const QPoint& globalPosition)
{
    if (!index.isValid())
        return;
    m_itemPopup.popup(globalPosition);
}

void ContentsCommands::treeEditing(const QModelIndex& index)
{
    // Also inside a command: Add header opens its new caption for editing.
    if (ContentsEntry* entry = m_model.entryAt(index)) {
        m_context.runner.run([this, entry] {
            EditorCall call(*this);
            m_editor.captionEditStarted(*entry);
        });
    }
}

void ContentsCommands::treeEdited()
{
    m_editor.captionEditEnded();
}

void ContentsCommands::treeExpanding(ContentsEntry* entry)
{
    if (echo())
        return;
    run([this, entry] { m_editor.entryExpanding(*entry); });
}

void ContentsCommands::treeCollapsing(ContentsEntry* entry)
{
    if (echo())
        return;
    run([this, entry] { m_editor.entryCollapsing(*entry); });
}

void ContentsCommands::treeStartDrag(const QModelIndex& index)
{
    m_tree.setDropsInto(m_editor.insertAsChild());
    if (ContentsEntry* entry = m_model.entryAt(index))
        run([this, entry] { m_editor.startDrag(*entry); });
}

void ContentsCommands::treeDragDrop(const QModelIndex& target)
{
    ContentsEntry* entry = m_model.entryAt(target);
    run([this, entry] { m_editor.dropOn(entry); });
}

void ContentsCommands::treeFilesDropped(const QModelIndex& target, const QStringList& paths)
{
    ContentsEntry* entry = m_model.entryAt(target);
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(toStdString(path));
    run([this, entry, &files] { m_editor.dropFiles(files, entry); });
}

void ContentsCommands::treeEndDrag()
{
    run([this] { m_editor.endDrag(); });
    m_tree.viewport()->update();
}

// --- The editor's reports

void ContentsCommands::applyPendingExpansion()
{
    if (m_pendingExpansion.empty())
        return;
    std::vector<std::pair<QModelIndex, bool>> changes;
    changes.reserve(m_pendingExpansion.size());
    for (const ContentsEntry* entry : m_pendingExpansion)
        changes.emplace_back(m_model.indexOf(entry), entry->expanded);
    m_pendingExpansion.clear();
    // Applying them is the command's echo too.
    EditorCall call(*this);
    m_tree.applyExpansion(changes);
}

void ContentsCommands::entriesAboutToBeInserted(const ContentsEntry& parent, std::size_t first, std::size_t last)
{
    applyPendingExpansion();
    m_model.entriesAboutToBeInserted(parent, first, last);
}

void ContentsCommands::entriesInserted()
{
    m_model.entriesInserted();
}

void ContentsCommands::entriesAboutToBeRemoved(const ContentsEntry& parent, std::size_t first, std::size_t last)
{
    applyPendingExpansion();
    m_model.entriesAboutToBeRemoved(parent, first, last);
}

void ContentsCommands::entriesRemoved()
{
    m_model.entriesRemoved();
}

void ContentsCommands::entryAboutToBeMoved(const ContentsEntry& from, std::size_t row, const ContentsEntry& to,
                                           std::size_t destinationRow)
{
    applyPendingExpansion();
    m_model.entryAboutToBeMoved(from, row, to, destinationRow);
}

void ContentsCommands::entryMoved()
{
    m_model.entryMoved();
}

void ContentsCommands::siblingOrderAboutToChange(const ContentsEntry* parent)
{
    applyPendingExpansion();
    m_model.siblingOrderAboutToChange(parent);
}

void ContentsCommands::siblingOrderChanged(const ContentsEntry* parent)
{
    m_model.siblingOrderChanged(parent);
}

void ContentsCommands::entryChanged(const ContentsEntry& entry)
{
    m_model.entryChanged(entry);
}

void ContentsCommands::everyEntryChanged()
{
    m_model.everyEntryChanged();
    m_tree.viewport()->update();
}

void ContentsCommands::expansionChanged(const ContentsEntry& entry)
{
    // Collected: a move may collapse a subtree of thousands of entries,
    // which the tree takes faster as one batch.
    m_pendingExpansion.push_back(&entry);
    if (!echo())
        applyPendingExpansion();
}

void ContentsCommands::everyExpansionChanged(bool expanded)
{
    m_pendingExpansion.clear();
    EditorCall call(*this);
    if (expanded)
        m_tree.expandAll();
    else
        m_tree.collapseAll();
}

void ContentsCommands::selectionChanged(const ContentsEntry* entry)
{
    // While a new project replaces the old one the tree must not be
    // touched; the window selects the title entry once it is shown. The
    // sort mode may have gone off with an undone sort.
    if (m_model.resetting()) {
        showToggles();
        return;
    }
    applyPendingExpansion();
    EditorCall call(*this);
    m_page.selectEntry(entry);
}

void ContentsCommands::iconChooserChanged(bool enabled, int row)
{
    IconCombo* chooser = m_page.imageCombo();
    chooser->showRow(row);
    chooser->setEnabled(enabled);
}

void ContentsCommands::statusTextChanged(const std::string& text)
{
    if (m_context.setStatusText)
        m_context.setStatusText(text);
}

void ContentsCommands::captionEditRequested(const ContentsEntry& entry)
{
    applyPendingExpansion();
    const QModelIndex index = m_model.indexOf(&entry);
    if (!index.isValid())
        return;
    m_tree.scrollTo(index);
    m_tree.setFocus();
    m_tree.edit(index);
}

void ContentsCommands::fileListAboutToChange()
{
    m_files.beginFileListChange();
}

void ContentsCommands::fileListChanged()
{
    m_files.endFileListChange();
}

}  // namespace doxel
