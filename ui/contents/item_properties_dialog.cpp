#include "ui/contents/item_properties_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>

#include "core/text_ids.h"
#include "ui/kit/icons.h"
#include "ui/kit/named_widget.h"
#include "ui/kit/qt_text.h"
#include "ui/kit/window_placement.h"

namespace doxel {

TItemProperties::TItemProperties(SettingsStore& settings, const ItemProperties& values, SourceChooser chooseSource,
                                 QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_chooseSource(std::move(chooseSource)),
      m_proposedHelpIdNumber(values.proposedHelpIdNumber),
      m_captionEdit(new QLineEdit(this)),
      m_imageCombo(new IconCombo(this)),
      m_label1(new QLabel(this)),
      m_sourceEdit(new QLineEdit(this)),
      m_openButton(new QToolButton(this)),
      m_removeButton(new QToolButton(this)),
      m_helpIdLabel(named<QLabel>(this, "HelpIdLabel")),
      m_helpIdNameEdit(named<QLineEdit>(this, "HelpIdNameEdit")),
      m_helpIdNumberEdit(named<QLineEdit>(this, "HelpIdNumberEdit")),
      m_okButton(new QPushButton(this)),
      m_button1(new QPushButton(this))
{
    setObjectName(QStringLiteral("TItemProperties"));
    setModal(true);
    m_captionEdit->setObjectName(QStringLiteral("CaptionEdit"));
    m_imageCombo->setObjectName(QStringLiteral("ImageCombo"));
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_sourceEdit->setObjectName(QStringLiteral("SourceEdit"));
    m_sourceEdit->setReadOnly(true);
    m_openButton->setObjectName(QStringLiteral("OpenButton"));
    m_openButton->setAutoRaise(true);
    m_openButton->setIcon(resourceIcon("toolbar/color/open.svg"));
    m_removeButton->setObjectName(QStringLiteral("RemoveButton"));
    m_removeButton->setAutoRaise(true);
    m_removeButton->setIcon(resourceIcon("actions/delete.svg"));
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setDefault(true);
    m_button1->setObjectName(QStringLiteral("Button1"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_imageCombo, 0, 0);
    layout->addWidget(m_captionEdit, 0, 1, 1, 3);
    layout->addWidget(m_label1, 1, 0, 1, 4);
    layout->addWidget(m_sourceEdit, 2, 0, 1, 2);
    layout->addWidget(m_openButton, 2, 2);
    layout->addWidget(m_removeButton, 2, 3);
    auto* helpId = new QHBoxLayout;
    helpId->addWidget(m_helpIdLabel);
    helpId->addWidget(m_helpIdNameEdit, 3);
    helpId->addWidget(m_helpIdNumberEdit, 1);
    layout->addLayout(helpId, 3, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_button1);
    layout->addLayout(buttons, 4, 0, 1, 4);
    layout->setColumnStretch(1, 1);

    connect(m_openButton, &QToolButton::clicked, this, &TItemProperties::chooseSourceFile);
    connect(m_removeButton, &QToolButton::clicked, this, &TItemProperties::clearSourceFile);
    connect(m_helpIdNameEdit, &QLineEdit::textEdited, this, &TItemProperties::helpIdNameEdited);
    connect(m_okButton, &QPushButton::clicked, this, &TItemProperties::confirm);
    connect(m_button1, &QPushButton::clicked, this, &TItemProperties::cancel);

    setUpControls(settings);
    m_captionEdit->setText(toQString(values.caption));
    m_imageCombo->showRow(values.iconRow);
    m_sourceEdit->setText(toQString(values.sourceFile));
    m_helpIdNameEdit->setText(toQString(values.helpIdName));
    m_helpIdNameEdit->setPlaceholderText(QStringLiteral("IDH_"));
    m_helpIdNumberEdit->setText(toQString(values.helpIdNumber));
    m_captionEdit->setFocus();
    m_captionEdit->selectAll();

    setMinimumWidth(360);
    adjustSize();
    centreOverOwner(*this);
}

void TItemProperties::setUpControls(SettingsStore& settings)
{
    setWindowTitle(localText(settings, text_id::kItemProperties));
    m_label1->setText(localText(settings, text_id::kAssociatedFile));
    m_openButton->setToolTip(localText(settings, text_id::kSelectSource));
    m_removeButton->setToolTip(localText(settings, text_id::kRemoveAssociation));
    m_helpIdLabel->setText(localText(settings, text_id::kHelpIdField));
    m_helpIdNameEdit->setToolTip(localText(settings, text_id::kHelpIdNameColumn));
    m_helpIdNumberEdit->setToolTip(localText(settings, text_id::kHelpIdNumberColumn));
    m_okButton->setText(localText(settings, text_id::kOk));
    m_button1->setText(localText(settings, text_id::kCancel));
}

ItemProperties TItemProperties::values() const
{
    return {toStdString(m_captionEdit->text()),      m_imageCombo->currentIndex(),
            toStdString(m_sourceEdit->text()),       toStdString(m_helpIdNameEdit->text()),
            toStdString(m_helpIdNumberEdit->text()), m_proposedHelpIdNumber};
}

void TItemProperties::helpIdNameEdited(const QString& name)
{
    // A topic given its first help id gets a number nobody uses yet; a
    // number the author typed or the topic had stays.
    if (!name.trimmed().isEmpty() && m_helpIdNumberEdit->text().trimmed().isEmpty() && m_proposedHelpIdNumber != 0)
        m_helpIdNumberEdit->setText(QString::number(m_proposedHelpIdNumber));
}

void TItemProperties::chooseSourceFile()
{
    if (m_chooseSource)
        m_sourceEdit->setText(toQString(m_chooseSource(toStdString(m_sourceEdit->text()))));
}

void TItemProperties::clearSourceFile()
{
    m_sourceEdit->clear();
}

void TItemProperties::confirm()
{
    if (m_confirmation && !m_confirmation(values()))
        return;
    accept();
}

void TItemProperties::cancel()
{
    reject();
}

}  // namespace doxel
