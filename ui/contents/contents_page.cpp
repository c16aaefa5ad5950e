#include "ui/contents/contents_page.h"

#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QScrollBar>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/kit/action_registry.h"
#include "ui/kit/heading_panel.h"

namespace doxel {
namespace {

// Above this many changes, applyExpansion lays the tree out once at the
// end rather than after each entry (a search of the shown rows each).
constexpr std::size_t kExpansionBatch = 8;
// The band at the top and bottom of the tree in which a drag scrolls it.
constexpr int kAutoScrollMargin = 16;
// The drop indicator's line under the target, in pixels.
constexpr int kDropLineWidth = 2;

}  // namespace

ContentsTree::ContentsTree(QWidget* parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("tree"));
    setHeaderHidden(true);
    setIndentation(19);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setExpandsOnDoubleClick(false);
    setTextElideMode(Qt::ElideNone);
    // The pop-up menu opens from the right button press alone.
    setContextMenuPolicy(Qt::PreventContextMenu);
    // An entry's drag is the tree's own (it moves within this tree only), so
    // Qt's drag machinery stays off; drops are taken only for pages dragged
    // from the file manager.
    setDragEnabled(false);
    setAcceptDrops(true);
    m_autoScroll.setInterval(50);
    connect(&m_autoScroll, &QTimer::timeout, this, &ContentsTree::autoScrollStep);
}

void ContentsTree::commitEditing()
{
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void ContentsTree::applyExpansion(const std::vector<std::pair<QModelIndex, bool>>& changes)
{
    if (changes.size() > kExpansionBatch)
        scheduleDelayedItemsLayout();
    for (const auto& [index, expanded] : changes) {
        if (index.isValid())
            setExpanded(index, expanded);
    }
}

bool ContentsTree::event(QEvent* event)
{
    // Escape ends a drag; it must not reach the window's Escape shortcut.
    if (m_dragging && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QTreeView::event(event);
}

bool ContentsTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool wasEditing = state() == EditingState;
    const bool accepted = QTreeView::edit(index, trigger, event);
    // A click on the selected caption only starts a timer here; the edit
    // itself begins when it runs out, through this function again.
    if (accepted && !wasEditing && state() == EditingState)
        emit editingStarted(index);
    return accepted;
}

void ContentsTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool wasEditing = state() == EditingState;
    QTreeView::closeEditor(editor, hint);
    if (wasEditing && state() != EditingState)
        emit editingEnded();
}

void ContentsTree::keyPressEvent(QKeyEvent* event)
{
    if (m_dragging) {
        if (event->key() == Qt::Key_Escape)
            finishDrag({});
        event->accept();
        return;
    }
    if (state() == EditingState) {
        QTreeView::keyPressEvent(event);
        return;
    }
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit keyPressed(TreeKey::Enter);
        break;
    case Qt::Key_Delete:
        emit keyPressed(TreeKey::Delete);
        break;
    case Qt::Key_F2:
        emit keyPressed(TreeKey::F2);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (control) {
            const Qt::Key key = static_cast<Qt::Key>(event->key());
            emit keyPressed(key == Qt::Key_Up     ? TreeKey::CtrlUp
                            : key == Qt::Key_Down ? TreeKey::CtrlDown
                            : key == Qt::Key_Left ? TreeKey::CtrlLeft
                                                  : TreeKey::CtrlRight);
            // Qt's own Ctrl+arrow would move the current entry away from
            // the one just moved; show the moved entry instead.
            scrollTo(currentIndex());
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QTreeView::keyPressEvent(event);
}

void ContentsTree::mousePressEvent(QMouseEvent* event)
{
    if (m_dragging) {
        event->accept();
        return;
    }
    const QPoint position = event->position().toPoint();
    const QModelIndex index = indexAt(position);
    if (event->button() == Qt::RightButton) {
        // treeMouseDown: over an entry it becomes the selected and focused
        // entry and the pop-up opens; over empty space nothing happens.
        if (index.isValid()) {
            setFocus(Qt::MouseFocusReason);
            setCurrentIndex(index);
            emit popupRequested(index, event->globalPosition().toPoint());
        }
        event->accept();
        return;
    }
    m_pressed = QPersistentModelIndex();
    // A press on the branch sign expands or collapses, it drags nothing.
    if (event->button() == Qt::LeftButton && index.isValid() && visualRect(index).contains(position)) {
        m_pressed = index;
        m_pressPosition = position;
    }
    QTreeView::mousePressEvent(event);
}

void ContentsTree::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (m_pressed.isValid() && event->buttons().testFlag(Qt::LeftButton)) {
        if (!m_dragging && state() != EditingState &&
            (position - m_pressPosition).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragging = true;
            viewport()->setCursor(Qt::DragMoveCursor);
            m_autoScroll.start();
            emit dragStarted(m_pressed);
        }
        if (m_dragging)
            setDropTarget(indexAt(position));
        // No selecting of the entries the mouse passes over.
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void ContentsTree::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging) {
        if (event->button() == Qt::LeftButton)
            finishDrag(indexAt(event->position().toPoint()));
        event->accept();
        return;
    }
    m_pressed = QPersistentModelIndex();
    QTreeView::mouseReleaseEvent(event);
}

void ContentsTree::focusOutEvent(QFocusEvent* event)
{
    // A pop-up of another program ends the drag without a drop.
    if (m_dragging && event->reason() != Qt::PopupFocusReason)
        finishDrag({});
    QTreeView::focusOutEvent(event);
}

void ContentsTree::finishDrag(const QModelIndex& target)
{
    m_dragging = false;
    m_pressed = QPersistentModelIndex();
    m_autoScroll.stop();
    viewport()->unsetCursor();
    setDropTarget({});
    setState(NoState);
    emit dropped(target);
    emit dragEnded();
}

void ContentsTree::setDropTarget(const QModelIndex& index)
{
    if (index == m_dropTarget)
        return;
    const QModelIndex old = m_dropTarget;
    m_dropTarget = index;
    if (old.isValid())
        update(old);
    if (index.isValid())
        update(index);
}

void ContentsTree::autoScrollStep()
{
    const QPoint position = viewport()->mapFromGlobal(QCursor::pos());
    QScrollBar* bar = verticalScrollBar();
    if (position.y() < kAutoScrollMargin)
        bar->setValue(bar->value() - bar->singleStep());
    else if (position.y() > viewport()->height() - kAutoScrollMargin)
        bar->setValue(bar->value() + bar->singleStep());
    else
        return;
    setDropTarget(indexAt(position));
}

QItemSelectionModel::SelectionFlags ContentsTree::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags flags = QTreeView::selectionCommand(index, event);
    if (flags.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return flags;
}

bool ContentsTree::viewportEvent(QEvent* event)
{
    // No tool tips, not even for captions wider than the tree.
    if (event->type() == QEvent::ToolTip)
        return true;
    return QTreeView::viewportEvent(event);
}

QStringList ContentsTree::droppedFiles(const QDropEvent& event)
{
    QStringList paths;
    const QMimeData* data = event.mimeData();
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

void ContentsTree::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_dragging || droppedFiles(*event).isEmpty()) {
        event->ignore();
        return;
    }
    m_filesOver = true;
    setDropTarget(indexAt(event->position().toPoint()));
    event->acceptProposedAction();
}

void ContentsTree::dragMoveEvent(QDragMoveEvent* event)
{
    if (!m_filesOver) {
        event->ignore();
        return;
    }
    setDropTarget(indexAt(event->position().toPoint()));
    event->acceptProposedAction();
}

void ContentsTree::dragLeaveEvent(QDragLeaveEvent* event)
{
    m_filesOver = false;
    setDropTarget({});
    event->accept();
}

void ContentsTree::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedFiles(*event);
    const QModelIndex target = indexAt(event->position().toPoint());
    m_filesOver = false;
    setDropTarget({});
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(target, paths);
}

ContentsTree::DropIndicator ContentsTree::dropIndicator() const
{
    if (m_filesOver && m_dropTarget.isValid())
        return m_dropsInto ? DropIndicator::Into : DropIndicator::After;
    if (!m_dragging || !m_dropTarget.isValid() || m_dropTarget == m_pressed)
        return DropIndicator::None;
    return m_dropsInto ? DropIndicator::Into : DropIndicator::After;
}

void ContentsTree::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const DropIndicator indicator = index == m_dropTarget ? dropIndicator() : DropIndicator::None;
    if (indicator == DropIndicator::Into) {
        QStyleOptionViewItem highlighted(option);
        highlighted.state |= QStyle::State_Selected;
        QTreeView::drawRow(painter, highlighted, index);
        return;
    }
    QTreeView::drawRow(painter, option, index);
    if (indicator == DropIndicator::After) {
        // A line under the target, from where its caption begins.
        const int left = visualRect(index).left();
        const int y = option.rect.bottom() - kDropLineWidth / 2;
        painter->save();
        painter->setPen(QPen(palette().color(QPalette::Highlight), kDropLineWidth));
        painter->drawLine(left, y, option.rect.right(), y);
        painter->restore();
    }
}

ContentsPage::ContentsPage(ActionRegistry& actions, ContentsModel& model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_heading(new HeadingPanel("Panel1", "TOCLabel", QStringLiteral("Table of Contents"), this)),
      m_toolBar(new QToolBar(this)),
      m_imageCombo(new IconCombo(this)),
      m_tree(new ContentsTree(this))
{
    setObjectName(QStringLiteral("TabContents"));

    m_imageCombo->setObjectName(QStringLiteral("ImageCombo"));

    m_toolBar->setObjectName(QStringLiteral("ToolBar2"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->addWidget(m_imageCombo);
    for (Command command : {Command::AddTopicsButton, Command::AddHeaderButton, Command::AddKeywordToEntryButton,
                            Command::MoveLeftButton, Command::MoveRightButton, Command::MoveDownButton,
                            Command::MoveUpButton, Command::AddAsChildButton, Command::DeleteEntryButton})
        actions.addToolButton(m_toolBar, command);

    m_tree->setModel(&m_model);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &ContentsPage::treeCurrentChanged);
    connect(m_tree, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (ContentsEntry* entry = m_model.entryAt(index))
            emit entryExpanded(entry);
    });
    connect(m_tree, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (ContentsEntry* entry = m_model.entryAt(index))
            emit entryCollapsed(entry);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_heading);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_tree, 1);
}

ContentsEntry* ContentsPage::selectedEntry() const
{
    return m_model.entryAt(m_tree->currentIndex());
}

void ContentsPage::selectEntry(const ContentsEntry* entry)
{
    const QModelIndex index = m_model.indexOf(entry);
    m_tree->setCurrentIndex(index);
    if (index.isValid())
        m_tree->scrollTo(index);
}

void ContentsPage::editTitle()
{
    const QModelIndex title = m_model.titleIndex();
    m_tree->setCurrentIndex(title);
    m_tree->setFocus();
    m_tree->edit(title);
}

void ContentsPage::showOpenedProject()
{
    const QModelIndex title = m_model.titleIndex();
    m_tree->setCurrentIndex(title);
    m_tree->expand(title);
    m_tree->scrollTo(title);
}

void ContentsPage::showRestoredProject(const ContentsEntry* selected)
{
    // The entries keep whether they were expanded, and their icons show it.
    std::vector<std::pair<QModelIndex, bool>> expansion;
    const ContentsEntry* title = m_model.entryAt(m_model.titleIndex());
    if (title == nullptr || title->parent() == nullptr)
        return;
    const ContentsEntry& root = *title->parent();
    forEachEntry(root, [this, &expansion](const ContentsEntry& entry, int) {
        if (entry.expanded && entry.childCount() > 0)
            expansion.emplace_back(m_model.indexOf(&entry), true);
    });
    m_tree->applyExpansion(expansion);
    const QModelIndex current = selected != nullptr ? m_model.indexOf(selected) : m_model.titleIndex();
    m_tree->setCurrentIndex(current);
    m_tree->scrollTo(current);
}

void ContentsPage::clearIconChooser()
{
    m_imageCombo->showRow(-1);
    m_imageCombo->setEnabled(false);
}

void ContentsPage::showIconOf(const ContentsEntry* entry)
{
    m_imageCombo->showRow(entry != nullptr ? entry->iconNumber : -1);
}

void ContentsPage::treeCurrentChanged(const QModelIndex& current)
{
    if (ContentsEntry* entry = m_model.entryAt(current))
        emit selectedEntryChanged(entry);
}

}  // namespace doxel
