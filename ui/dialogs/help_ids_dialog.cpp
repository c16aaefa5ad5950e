#include "ui/dialogs/help_ids_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "core/text_ids.h"
#include "ui/kit/named_widget.h"
#include "ui/kit/qt_text.h"
#include "ui/kit/window_placement.h"

namespace doxel {

// --- HelpIdModel

HelpIdModel::HelpIdModel(const HelpIdList& list, std::string projectFile, QObject* parent)
    : QAbstractTableModel(parent),
      m_list(list),
      m_projectFile(std::move(projectFile)),
      m_captions{QStringLiteral("Name"), QStringLiteral("Number"), QStringLiteral("Topic")}
{
}

void HelpIdModel::setColumnCaptions(const QStringList& captions)
{
    m_captions = captions;
    emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_captions.size()) - 1);
}

void HelpIdModel::reload()
{
    beginResetModel();
    endResetModel();
}

int HelpIdModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_list.size());
}

int HelpIdModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant HelpIdModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_list.size())
        return {};
    const HelpId& id = m_list.row(static_cast<std::size_t>(index.row()));
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == 2)
        return toQString(id.topicFile);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return toQString(id.name);
    case 1:
        return QString::number(id.number);
    case 2:
        return toQString(shownTopic(id.topicFile, m_projectFile));
    default:
        return {};
    }
}

QVariant HelpIdModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_captions.size())
        return {};
    return m_captions[section];
}

// --- THelpIdProperties

THelpIdProperties::THelpIdProperties(SettingsStore& settings, const HelpIdInput& values,
                                     std::vector<std::string> topics, const std::vector<std::string>& shownTopics,
                                     QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_topics(std::move(topics)),
      m_nameEdit(named<QLineEdit>(this, "NameEdit")),
      m_numberEdit(named<QLineEdit>(this, "NumberEdit")),
      m_topicCombo(named<QComboBox>(this, "TopicCombo")),
      m_okButton(nullptr)
{
    setObjectName(QStringLiteral("THelpIdProperties"));
    setModal(true);
    setWindowTitle(localText(settings, text_id::kHelpId));
    m_nameEdit->setText(toQString(values.name));
    m_nameEdit->setPlaceholderText(QStringLiteral("IDH_"));
    m_numberEdit->setText(toQString(values.number));
    for (const std::string& shown : shownTopics)
        m_topicCombo->addItem(toQString(shown));
    // A topic that is none of the project's files (an anchor of a page, a
    // page no entry opens any more) stays choosable.
    if (!values.topicFile.empty() && std::find(m_topics.begin(), m_topics.end(), values.topicFile) == m_topics.end()) {
        m_topics.push_back(values.topicFile);
        m_topicCombo->addItem(toQString(values.topicFile));
    }
    const auto at = std::find(m_topics.begin(), m_topics.end(), values.topicFile);
    m_topicCombo->setCurrentIndex(values.topicFile.empty() ? -1 : static_cast<int>(at - m_topics.begin()));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_okButton = named(buttons->button(QDialogButtonBox::Ok), "OKButton");
    m_okButton->setText(localText(settings, text_id::kOk));
    named(buttons->button(QDialogButtonBox::Cancel), "CancelButton")->setText(localText(settings, text_id::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(localText(settings, text_id::kHelpIdNameLabel), m_nameEdit);
    layout->addRow(localText(settings, text_id::kHelpIdNumberLabel), m_numberEdit);
    layout->addRow(localText(settings, text_id::kHelpIdTopicLabel), m_topicCombo);
    layout->addRow(buttons);
    m_nameEdit->setFocus();
    m_nameEdit->selectAll();

    setMinimumWidth(380);
    adjustSize();
    centreOverOwner(*this);
}

HelpIdInput THelpIdProperties::values() const
{
    const int row = m_topicCombo->currentIndex();
    const std::string topic =
        row < 0 || static_cast<std::size_t>(row) >= m_topics.size() ? std::string() : m_topics[std::size_t(row)];
    return {toStdString(m_nameEdit->text()), toStdString(m_numberEdit->text()), topic};
}

// --- THelpIds

THelpIds::THelpIds(SettingsStore& settings, HelpIdList& list, const std::string& projectFile, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_list(list),
      m_model(new HelpIdModel(list, projectFile, this)),
      m_view(named<QTableView>(this, "HelpIdView")),
      m_addButton(named<QPushButton>(this, "AddButton")),
      m_editButton(named<QPushButton>(this, "EditButton")),
      m_deleteButton(named<QPushButton>(this, "DeleteButton")),
      m_closeButton(named<QPushButton>(this, "CloseButton"))
{
    setObjectName(QStringLiteral("THelpIds"));
    setModal(true);
    setWindowTitle(localText(settings, text_id::kHelpIds));
    m_model->setColumnCaptions({localText(settings, text_id::kHelpIdNameColumn),
                                localText(settings, text_id::kHelpIdNumberColumn),
                                localText(settings, text_id::kHelpIdTopicColumn)});
    m_addButton->setText(localText(settings, text_id::kAddHelpId));
    m_editButton->setText(localText(settings, text_id::kEditHelpId));
    m_deleteButton->setText(localText(settings, text_id::kDeleteHelpId));
    m_closeButton->setText(localText(settings, text_id::kClose));
    m_addButton->setAutoDefault(false);
    m_editButton->setAutoDefault(false);
    m_deleteButton->setAutoDefault(false);
    m_closeButton->setDefault(true);

    m_view->setModel(m_model);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &THelpIds::updateButtons);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    QHeaderView* header = m_view->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setStretchLastSection(true);
    header->setHighlightSections(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_editButton);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    connect(m_addButton, &QPushButton::clicked, this, &THelpIds::addHelpId);
    connect(m_editButton, &QPushButton::clicked, this, &THelpIds::editHelpId);
    connect(m_deleteButton, &QPushButton::clicked, this, &THelpIds::deleteHelpId);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_view, &QTableView::doubleClicked, this, &THelpIds::editHelpId);
    connect(header, &QHeaderView::sectionClicked, this, &THelpIds::sortByColumn);

    showRows(m_list.size() > 0 ? std::optional<std::size_t>(0) : std::nullopt);
    m_view->resizeColumnsToContents();
    m_view->setColumnWidth(0, std::max(m_view->columnWidth(0), 180));
    m_view->setColumnWidth(1, std::max(m_view->columnWidth(1), 90));
    resize(620, 360);
    centreOverOwner(*this);
}

std::optional<std::size_t> THelpIds::currentRow() const
{
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return static_cast<std::size_t>(rows.first().row());
}

void THelpIds::showRows(std::optional<std::size_t> current)
{
    m_model->reload();
    const int column = static_cast<int>(m_list.sortColumn());
    m_view->horizontalHeader()->setSortIndicator(column,
                                                 m_list.sortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    if (current && *current < m_list.size()) {
        const QModelIndex index = m_model->index(static_cast<int>(*current), 0);
        m_view->selectionModel()->setCurrentIndex(index,
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_view->scrollTo(index);
    }
    updateButtons();
}

void THelpIds::updateButtons()
{
    const bool selected = currentRow().has_value();
    m_editButton->setEnabled(selected);
    m_deleteButton->setEnabled(selected);
}

void THelpIds::addHelpId()
{
    // Another id for the page of the selected one is the likeliest wish.
    const std::optional<std::size_t> row = currentRow();
    const std::string topic = row ? m_list.row(*row).topicFile : std::string();
    if (const std::optional<std::size_t> added = m_list.add(topic))
        showRows(added);
    m_view->setFocus();
}

void THelpIds::editHelpId()
{
    const std::optional<std::size_t> row = currentRow();
    if (!row)
        return;
    if (const std::optional<std::size_t> edited = m_list.edit(*row))
        showRows(edited);
    m_view->setFocus();
}

void THelpIds::deleteHelpId()
{
    const std::optional<std::size_t> row = currentRow();
    if (!row)
        return;
    m_list.remove(*row);
    showRows(m_list.size() == 0 ? std::nullopt : std::optional<std::size_t>(std::min(*row, m_list.size() - 1)));
}

void THelpIds::sortByColumn(int column)
{
    if (column < 0 || column > 2)
        return;
    // The selected id stays selected wherever the sort puts it.
    const std::optional<std::size_t> row = currentRow();
    const std::string name = row ? m_list.row(*row).name : std::string();
    m_list.sortBy(static_cast<HelpIdColumn>(column));
    showRows(row ? m_list.rowNamed(name) : std::nullopt);
}

void THelpIds::keyPressEvent(QKeyEvent* event)
{
    if (m_view->hasFocus()) {
        if (event->key() == Qt::Key_Delete) {
            deleteHelpId();
            return;
        }
        if (event->key() == Qt::Key_F2 || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            editHelpId();
            return;
        }
        if (event->key() == Qt::Key_Insert) {
            addHelpId();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

}  // namespace doxel
