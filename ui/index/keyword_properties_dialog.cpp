#include "ui/index/keyword_properties_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include <algorithm>

#include "core/text_ids.h"
#include "ui/kit/qt_text.h"
#include "ui/kit/title_width.h"
#include "ui/kit/window_placement.h"

namespace doxel {

TKeywordProperties::TKeywordProperties(SettingsStore& settings, const KeywordEntry& values,
                                       std::vector<std::string> files, const std::vector<std::string>& shownFiles,
                                       QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_files(std::move(files)),
      m_keywordEdit(new QLineEdit(this)),
      m_fileCombo(new QComboBox(this))
{
    setObjectName(QStringLiteral("TKeywordProperties"));
    setModal(true);
    setWindowTitle(localText(settings, text_id::kKeywordProperties));
    m_keywordEdit->setObjectName(QStringLiteral("KeywordEdit"));
    m_keywordEdit->setText(toQString(values.keyword));
    m_fileCombo->setObjectName(QStringLiteral("FileCombo"));
    m_fileCombo->addItem(QString());
    for (const std::string& shown : shownFiles)
        m_fileCombo->addItem(toQString(shown));
    // A file that is no longer one of the project's stays choosable.
    const auto found = std::find(m_files.begin(), m_files.end(), values.topicFile);
    if (!values.topicFile.empty() && found == m_files.end()) {
        m_files.push_back(values.topicFile);
        m_fileCombo->addItem(toQString(values.topicFile));
    }
    const auto at = std::find(m_files.begin(), m_files.end(), values.topicFile);
    m_fileCombo->setCurrentIndex(values.topicFile.empty() ? 0 : static_cast<int>(at - m_files.begin()) + 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(localText(settings, text_id::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(localText(settings, text_id::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(localText(settings, text_id::kKeywordLabel), m_keywordEdit);
    layout->addRow(localText(settings, text_id::kAssociatedFile), m_fileCombo);
    layout->addRow(buttons);
    m_keywordEdit->setFocus();
    m_keywordEdit->selectAll();

    setMinimumWidth(std::max(360, widthForTitle(*this, windowTitle())));
    adjustSize();
    centreOverOwner(*this);
}

KeywordEntry TKeywordProperties::values() const
{
    const int row = m_fileCombo->currentIndex();
    const std::string file = row <= 0 ? std::string() : m_files[static_cast<std::size_t>(row - 1)];
    return {toStdString(m_keywordEdit->text()), file};
}

}  // namespace doxel
