#include "ui/contents/contents_commands.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

#include "editing/item_properties.h"
#include "ui/contents/contents_model.h"
#include "ui/contents/contents_page.h"
#include "ui/contents/item_properties_dialog.h"
#include "ui/index/list_models.h"
#include "ui/main/qt_text.h"

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
    actions.bind({Command::NewItemButton, Command::Addtopic1, Command::Edit1}, this,
                 &ContentsCommands::AddTopicButtonClick);
    actions.bind({Command::NewHeaderButton, Command::Addheader1, Command::Edit2}, this,
                 &ContentsCommands::AddHeaderButtonClick);
    actions.bind({Command::DeleteButton, Command::Delete1, Command::Deleteitem}, this, &ContentsCommands::Delete1Click);
    actions.bind({Command::UpButton}, this, &ContentsCommands::MoveItemUp);
    actions.bind({Command::DownButton}, this, &ContentsCommands::MoveItemDown);
    actions.bind({Command::LeftButton}, this, &ContentsCommands::MoveItemLeft);
    actions.bind({Command::RightButton}, this, &ContentsCommands::MoveItemRight);
    actions.bind({Command::toselecteditem1, Command::toallheader1}, this, &ContentsCommands::toselecteditem1Click);
    actions.bind({Command::toalltopics1, Command::toalltopics2}, this, &ContentsCommands::Assigntoalltopics1Click);
    actions.bind({Command::toallheadersinthislevel1, Command::toallheadersinthislevel2}, this,
                 &ContentsCommands::toallheadersinthislevel1Click);
    actions.bind({Command::toalltopicsincurrentlevel1, Command::toalltopicsincurrentlevel2}, this,
                 &ContentsCommands::toalltopicsincurrentlevel1Click);
    actions.bind({Command::Alphabetically1}, this, &ContentsCommands::Alphabetically1Click);
    actions.bind({Command::Donotsort1}, this, &ContentsCommands::Donotsort1Click);
    actions.bind({Command::Expandallitems1}, this, &ContentsCommands::Expandallitems1Click);
    actions.bind({Command::Collapseallitems1}, this, &ContentsCommands::Collapseallitems1Click);
    actions.bind({Command::Setasdefaulttopic1}, this, &ContentsCommands::Setasdefaulttopic1Click);
    actions.bind({Command::Insert}, this, &ContentsCommands::InsertClick);
    actions.bind({Command::properties}, this, &ContentsCommands::propertiesClick);
    connect(actions.menu(Menu::Items1), &QMenu::aboutToShow, this, &ContentsCommands::Items1Click);
    connect(&m_itemPopup, &QMenu::aboutToShow, this, &ContentsCommands::ItemPopupPopup);
}

void ContentsCommands::connectTree()
{
    connect(m_page.imageCombo(), &QComboBox::activated, this, &ContentsCommands::ImageComboChange);
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

template <typename Command>
void ContentsCommands::run(Command&& command)
{
    m_context.runner.run([this, &command] {
        EditorCall call(*this);
        command();
    });
}

// --- Commands

void ContentsCommands::AddTopicButtonClick()
{
    run([this] { m_editor.addTopics(); });
}

void ContentsCommands::AddHeaderButtonClick()
{
    run([this] { m_editor.addHeader(); });
}

void ContentsCommands::Delete1Click()
{
    run([this] { m_editor.deleteSelected(); });
}

void ContentsCommands::moveSelected(MoveDirection direction)
{
    run([this, direction] { m_editor.moveSelected(direction); });
    // The moved entry stays selected; keep it in sight.
    m_tree.scrollTo(m_tree.currentIndex());
}

void ContentsCommands::MoveItemUp()
{
    moveSelected(MoveDirection::Up);
}

void ContentsCommands::MoveItemDown()
{
    moveSelected(MoveDirection::Down);
}

void ContentsCommands::MoveItemLeft()
{
    moveSelected(MoveDirection::Left);
}

void ContentsCommands::MoveItemRight()
{
    moveSelected(MoveDirection::Right);
}

void ContentsCommands::toselecteditem1Click()
{
    run([this] { m_editor.assignIcon(IconTarget::AllHeaders); });
}

void ContentsCommands::Assigntoalltopics1Click()
{
    run([this] { m_editor.assignIcon(IconTarget::AllTopics); });
}

void ContentsCommands::toallheadersinthislevel1Click()
{
    run([this] { m_editor.assignIcon(IconTarget::HeadersOfLevel); });
}

void ContentsCommands::toalltopicsincurrentlevel1Click()
{
    run([this] { m_editor.assignIcon(IconTarget::TopicsOfLevel); });
}

void ContentsCommands::Alphabetically1Click()
{
    run([this] { m_editor.sortAlphabetically(); });
    showToggles();
}

void ContentsCommands::Donotsort1Click()
{
    run([this] { m_editor.stopSorting(); });
    showToggles();
}

void ContentsCommands::Expandallitems1Click()
{
    run([this] { m_editor.expandAll(); });
}

void ContentsCommands::Collapseallitems1Click()
{
    run([this] { m_editor.collapseAll(); });
}

void ContentsCommands::Setasdefaulttopic1Click()
{
    run([this] { m_editor.setDefaultTopic(); });
}

void ContentsCommands::InsertClick(bool down)
{
    run([this, down] { m_editor.setInsertAsChild(down); });
}

void ContentsCommands::ImageComboChange(int row)
{
    run([this, row] { m_editor.chooseIcon(row); });
}

std::string ContentsCommands::chooseSourceFile(const std::string& current)
{
    std::string chosen = current;
    m_context.runner.run(
        [&] { chosen = ChooseSourceFile(m_desktop, m_editor.project(), current, m_editor.pathStyle()); });
    return chosen;
}

void ContentsCommands::propertiesClick()
{
    run([this] {
        const std::optional<ItemProperties> values = itemPropertiesToEdit(m_editor);
        if (!values)
            return;
        ContentsEntry& entry = *m_editor.selected();
        TItemProperties dialog(
            m_context.settings, *values, [this](const std::string& current) { return chooseSourceFile(current); },
            &m_context.window);
        if (!m_context.dialogs.run(dialog))
            return;
        ApplyItemProperties(m_editor, entry, dialog.values());
    });
}

// --- Enabling

void ContentsCommands::enableItem(Command command, bool enabled)
{
    QAction* action = m_context.actions.action(command);
    if (action == nullptr)
        return;
    // Commands of later work are bound by then and enabled; one that was
    // still disabled when first seen has no command and stays so.
    if (!m_boundItems.contains(action) && !m_unboundItems.contains(action))
        (action->isEnabled() ? m_boundItems : m_unboundItems).insert(action);
    action->setEnabled(enabled && m_boundItems.contains(action));
}

void ContentsCommands::Items1Click()
{
    const CommandStates states = m_editor.commandStates();
    enableItem(Command::Addheader1, states.addEntries);
    enableItem(Command::Delete1, states.deleteEntry);
    m_context.actions.menu(Menu::AssignselectedIcon1)->menuAction()->setEnabled(states.assignIcon);
    enableItem(Command::Setasdefaulttopic1, states.setDefaultTopic);
    enableItem(Command::EditwithHTMLEditor2, states.openInEditor);
    enableItem(Command::EditwithNotepad1, states.openInEditor);
}

void ContentsCommands::ItemPopupPopup()
{
    const CommandStates states = m_editor.commandStates();
    enableItem(Command::Preview, states.preview);
    enableItem(Command::Edit1, states.addEntries);
    enableItem(Command::Edit2, states.addEntries);
    enableItem(Command::Deleteitem, states.deleteEntry);
    enableItem(Command::properties, states.properties);
    m_context.actions.menu(Menu::Assigncurrenticon1)->menuAction()->setEnabled(states.assignIcon);
    enableItem(Command::EditwithHTMLEditor1, states.openInEditor);
    enableItem(Command::EditinNotepad1, states.openInEditor);
}

void ContentsCommands::showToggles()
{
    const bool sorted = m_editor.sortMode() == SortMode::Alphabetical;
    m_context.actions.action(Command::Alphabetically1)->setChecked(sorted);
    m_context.actions.action(Command::Donotsort1)->setChecked(!sorted);
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
    // touched; the window selects the title entry once it is shown.
    if (m_model.resetting())
        return;
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
