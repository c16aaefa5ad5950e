#include "ui/dialogs/project_properties_dialog.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/help_language.h"
#include "core/text_ids.h"
#include "ui/kit/named_widget.h"
#include "ui/kit/qt_text.h"
#include "ui/kit/window_placement.h"

namespace doxel {
namespace {

constexpr const char* kFlagWordProperty = "flagWord";
constexpr const char* kBitProperty = "bit";

struct ControlText {
    const char* control;
    int textId;  // 0: the fixed text
    const char* fixed;
};

// The texts setUpControls sets, besides the pages and the check boxes.
constexpr ControlText kControlTexts[] = {
    {"Button1", text_id::kOk, nullptr},
    {"Button2", text_id::kDialogCancel, nullptr},
    {"GroupBox2", text_id::kNavigationPane, nullptr},
    {"DefaultTopicLabel", text_id::kDefaultTopic, nullptr},
    {"GroupBox3", text_id::kButtons, nullptr},
    {"GroupBox1", text_id::kWindowSizeAndPosition, nullptr},
    {"Label3", text_id::kLeft, nullptr},
    {"Label4", text_id::kTop, nullptr},
    {"Label5", text_id::kWidth, nullptr},
    {"Label6", text_id::kHeight, nullptr},
    {"SpeedButton1", text_id::kAdjust, nullptr},
    {"GroupBox4", text_id::kWindowStyles, nullptr},
    {"Label11", text_id::kNavigationPaneWidth, nullptr},
    {"GroupBox6", text_id::kPropertiesFiles, nullptr},
    {"Label2", 0, "Jump1:"},
    {"Label9", text_id::kJumpTextLabel, nullptr},
    {"Label7", 0, "Jump2:"},
    {"Label10", text_id::kJumpTextLabel, nullptr},
    {"Label8", text_id::kHomeLabel, nullptr},
    {"GroupBox5", text_id::kExtendedStyles, nullptr},
    {"HelpLanguageLabel", text_id::kHelpFileLanguage, nullptr},
};

constexpr int kPageTexts[] = {text_id::kNavigationPage, text_id::kHelpWindowPage, text_id::kAdvancedPage};

QComboBox* fileComboBox(QWidget* parent, const char* name)
{
    auto* combo = named<QComboBox>(parent, name);
    combo->setEditable(true);
    // Typed text stays as typed: Enter adds no row, and completion keeps
    // the letter case, since file names differ by case here.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    combo->setMinimumContentsLength(28);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

QLineEdit* positionField(QWidget* parent, const char* name)
{
    auto* field = named<QLineEdit>(parent, name);
    field->setReadOnly(true);
    // Only the auto sizer changes them; they look like it.
    QPalette palette = field->palette();
    palette.setBrush(QPalette::Base, palette.brush(QPalette::Window));
    field->setPalette(palette);
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-00000000000")));
    return field;
}

// The boxes of one flag word in `columns` columns, filled top to bottom,
// in a group whose vertical layout takes further rows.
QGroupBox* flagGroup(QWidget* parent, const char* name, FlagWord word, int columns)
{
    auto* group = named<QGroupBox>(parent, name);
    auto* column = new QVBoxLayout(group);
    auto* grid = new QGridLayout;
    column->addLayout(grid);
    const std::span<const FlagBox> boxes = flagBoxes(word);
    const auto count = static_cast<int>(boxes.size());
    const int rows = (count + columns - 1) / columns;
    int index = 0;
    for (const FlagBox& box : boxes) {
        auto* check = named<QCheckBox>(group, box.control);
        check->setProperty(kFlagWordProperty, static_cast<int>(word));
        check->setProperty(kBitProperty, static_cast<uint>(box.bit));
        if (box.textId == 0)
            check->setText(QString::fromUtf8(box.caption));
        grid->addWidget(check, index % rows, index / rows);
        ++index;
    }
    return group;
}

QLabel* labelFor(QWidget* parent, const char* name, QWidget* buddy)
{
    auto* label = named<QLabel>(parent, name);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

PaneWidthBox::PaneWidthBox(QWidget* parent) : QSpinBox(parent)
{
    setRange(kMinPaneWidth, kMaxPaneWidth);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State PaneWidthBox::validate(QString& text, int& position) const
{
    const QValidator::State state = QSpinBox::validate(text, position);
    if (state != QValidator::Invalid)
        return state;
    // Out of range, or not a number at all: let it stand until the field
    // is left, when fixup brings it into range.
    return QValidator::Intermediate;
}

void PaneWidthBox::fixup(QString& text) const
{
    text = QString::number(paneWidthFromText(toStdString(text.trimmed())));
}

TProjectProperties::TProjectProperties(SettingsStore& settings, const std::vector<std::string>& fileChoices,
                                       const ProjectPropertiesValues& values, FrameAdjuster adjust, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_adjust(std::move(adjust))
{
    setObjectName(QStringLiteral("TProjectProperties"));
    setModal(true);
    buildPages();
    setUpControls(settings, fileChoices);
    showValues(values);
    m_pages->setCurrentIndex(0);
    m_okButton->setDefault(true);
    m_okButton->setFocus();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    centreOverOwner(*this);

    connect(m_okButton, &QPushButton::clicked, this, &TProjectProperties::confirm);
    connect(m_cancelButton, &QPushButton::clicked, this, &TProjectProperties::cancel);
    connect(m_adjustButton, &QPushButton::clicked, this, &TProjectProperties::adjustWindowFrame);
}

void TProjectProperties::buildPages()
{
    m_pages = named<QTabWidget>(this, "PageControl1");

    // Navigation: the pane's options, the default topic and the buttons.
    auto* navigation = named<QWidget>(m_pages, "TabSheet1");
    auto* navigationLayout = new QVBoxLayout(navigation);
    QGroupBox* pane = flagGroup(navigation, "GroupBox2", FlagWord::NavigationStyle, 1);
    m_items = fileComboBox(pane, "Items");
    auto* topicRow = new QHBoxLayout;
    topicRow->addWidget(labelFor(pane, "DefaultTopicLabel", m_items));
    topicRow->addWidget(m_items, 1);
    static_cast<QVBoxLayout*>(pane->layout())->insertLayout(0, topicRow);
    navigationLayout->addWidget(pane);
    navigationLayout->addWidget(flagGroup(navigation, "GroupBox3", FlagWord::Buttons, 3));
    navigationLayout->addStretch(1);
    m_pages->addTab(navigation, QString());

    // Help window: position and size, window styles, pane width.
    auto* helpWindow = named<QWidget>(m_pages, "TabSheet2");
    auto* helpLayout = new QVBoxLayout(helpWindow);
    auto* position = named<QGroupBox>(helpWindow, "GroupBox1");
    auto* positionGrid = new QGridLayout(position);
    m_left = positionField(position, "winLeft");
    m_top = positionField(position, "WinTop");
    m_width = positionField(position, "WinWidth");
    m_height = positionField(position, "WINheight");
    positionGrid->addWidget(labelFor(position, "Label3", m_left), 0, 0);
    positionGrid->addWidget(m_left, 0, 1);
    positionGrid->addWidget(labelFor(position, "Label4", m_top), 0, 2);
    positionGrid->addWidget(m_top, 0, 3);
    positionGrid->addWidget(labelFor(position, "Label5", m_width), 1, 0);
    positionGrid->addWidget(m_width, 1, 1);
    positionGrid->addWidget(labelFor(position, "Label6", m_height), 1, 2);
    positionGrid->addWidget(m_height, 1, 3);
    m_adjustButton = named<QPushButton>(position, "SpeedButton1");
    m_adjustButton->setAutoDefault(false);
    positionGrid->addWidget(m_adjustButton, 0, 4, 2, 1);
    positionGrid->setColumnStretch(5, 1);
    helpLayout->addWidget(position);
    helpLayout->addWidget(flagGroup(helpWindow, "GroupBox4", FlagWord::WindowStyle, 2));
    m_paneWidth = named<PaneWidthBox>(helpWindow, "PaneWidth");
    auto* paneRow = new QHBoxLayout;
    paneRow->addWidget(labelFor(helpWindow, "Label11", m_paneWidth));
    paneRow->addWidget(m_paneWidth);
    paneRow->addStretch(1);
    helpLayout->addLayout(paneRow);
    helpLayout->addStretch(1);
    m_pages->addTab(helpWindow, QString());

    // Advanced: the jump and home targets, extended styles.
    auto* advanced = named<QWidget>(m_pages, "TabSheet3");
    auto* advancedLayout = new QVBoxLayout(advanced);
    auto* files = named<QGroupBox>(advanced, "GroupBox6");
    auto* filesGrid = new QGridLayout(files);
    m_jump1 = fileComboBox(files, "jump1");
    m_jump1Text = named<QLineEdit>(files, "Jump1Text");
    m_jump2 = fileComboBox(files, "Jump2");
    m_jump2Text = named<QLineEdit>(files, "Jump2Text");
    m_home = fileComboBox(files, "Home");
    filesGrid->addWidget(labelFor(files, "Label2", m_jump1), 0, 0);
    filesGrid->addWidget(m_jump1, 0, 1);
    filesGrid->addWidget(labelFor(files, "Label9", m_jump1Text), 0, 2);
    filesGrid->addWidget(m_jump1Text, 0, 3);
    filesGrid->addWidget(labelFor(files, "Label7", m_jump2), 1, 0);
    filesGrid->addWidget(m_jump2, 1, 1);
    filesGrid->addWidget(labelFor(files, "Label10", m_jump2Text), 1, 2);
    filesGrid->addWidget(m_jump2Text, 1, 3);
    filesGrid->addWidget(labelFor(files, "Label8", m_home), 2, 0);
    filesGrid->addWidget(m_home, 2, 1);
    filesGrid->setColumnStretch(1, 1);
    advancedLayout->addWidget(files);
    m_language = named<QComboBox>(advanced, "HelpLanguage");
    auto* languageRow = new QHBoxLayout;
    languageRow->addWidget(labelFor(advanced, "HelpLanguageLabel", m_language));
    languageRow->addWidget(m_language, 1);
    advancedLayout->addLayout(languageRow);
    advancedLayout->addWidget(flagGroup(advanced, "GroupBox5", FlagWord::ExtendedStyle, 2));
    advancedLayout->addStretch(1);
    m_pages->addTab(advanced, QString());

    m_okButton = named<QPushButton>(this, "Button1");
    m_cancelButton = named<QPushButton>(this, "Button2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
}

void TProjectProperties::setUpControls(SettingsStore& settings, const std::vector<std::string>& fileChoices)
{
    QStringList files;
    files.reserve(static_cast<qsizetype>(fileChoices.size()));
    for (const std::string& file : fileChoices)
        files.append(toQString(file));
    for (QComboBox* combo : {m_items, m_jump1, m_jump2, m_home})
        combo->addItems(files);
    // Each language with the code page its help file is written in.
    m_language->addItem(localText(settings, text_id::kAutomaticHelpLanguage), 0);
    for (const CodePage* page : helpLanguages()) {
        const QString name = localText(settings, languageNameTextId(page->languageId));
        m_language->addItem(QStringLiteral("%1 \u2013 Windows-%2").arg(name).arg(page->number), page->languageId);
    }

    setWindowTitle(localText(settings, text_id::kProjectProperties));
    for (int page = 0; page < m_pages->count(); ++page)
        m_pages->setTabText(page, localText(settings, kPageTexts[page]));
    for (const ControlText& row : kControlTexts) {
        const QString text = row.textId != 0 ? localText(settings, row.textId) : QString::fromUtf8(row.fixed);
        QWidget* control = findChild<QWidget*>(QString::fromLatin1(row.control));
        if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(control))
            group->setTitle(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(text);
    }
    for (FlagWord word : kFlagWords) {
        for (const FlagBox& box : doxel::flagBoxes(word)) {
            if (box.textId != 0)
                findChild<QCheckBox*>(QString::fromLatin1(box.control))->setText(localText(settings, box.textId));
        }
    }
}

void TProjectProperties::showValues(const ProjectPropertiesValues& values)
{
    showFrame({values.left, values.top, values.width, values.height});
    m_items->setEditText(toQString(values.defaultTopic));
    m_home->setEditText(toQString(values.homePage));
    m_jump1->setEditText(toQString(values.jump1Url));
    m_jump1Text->setText(toQString(values.jump1Text));
    m_jump2->setEditText(toQString(values.jump2Url));
    m_jump2Text->setText(toQString(values.jump2Text));
    m_paneWidth->setValue(boundedPaneWidth(values.paneWidth));
    m_language->setCurrentIndex(std::max(0, m_language->findData(values.helpLanguageId)));
    for (QCheckBox* box : flagBoxes()) {
        const auto word = static_cast<FlagWord>(box->property(kFlagWordProperty).toInt());
        box->setChecked((values.tickedBits(word) & box->property(kBitProperty).toUInt()) != 0);
    }
}

void TProjectProperties::showFrame(const WindowFrame& frame)
{
    m_left->setText(QString::number(frame.left));
    m_top->setText(QString::number(frame.top));
    m_width->setText(QString::number(frame.width));
    m_height->setText(QString::number(frame.height));
}

QList<QCheckBox*> TProjectProperties::flagBoxes() const
{
    QList<QCheckBox*> boxes;
    for (QCheckBox* box : findChildren<QCheckBox*>()) {
        if (box->property(kBitProperty).isValid())
            boxes.append(box);
    }
    return boxes;
}

WindowFrame TProjectProperties::shownFrame() const
{
    return frameFromFields(toStdString(m_left->text()), toStdString(m_top->text()), toStdString(m_width->text()),
                           toStdString(m_height->text()));
}

ProjectPropertiesValues TProjectProperties::values() const
{
    ProjectPropertiesValues values;
    const WindowFrame frame = shownFrame();
    values.left = frame.left;
    values.top = frame.top;
    values.width = frame.width;
    values.height = frame.height;
    values.defaultTopic = toStdString(m_items->currentText());
    // The text as it stands, typed or not: a field left with "5000" still
    // gives 1000 when OK is pressed by its key.
    values.paneWidth = paneWidthFromText(toStdString(m_paneWidth->cleanText().trimmed()));
    for (QCheckBox* box : flagBoxes()) {
        if (box->isChecked()) {
            const auto word = static_cast<FlagWord>(box->property(kFlagWordProperty).toInt());
            values.tickedBits(word) |= box->property(kBitProperty).toUInt();
        }
    }
    values.jump1Url = toStdString(m_jump1->currentText());
    values.jump1Text = toStdString(m_jump1Text->text());
    values.jump2Url = toStdString(m_jump2->currentText());
    values.jump2Text = toStdString(m_jump2Text->text());
    values.homePage = toStdString(m_home->currentText());
    values.helpLanguageId = m_language->currentData().toInt();
    return values;
}

void TProjectProperties::confirm()
{
    accept();
}

void TProjectProperties::cancel()
{
    reject();
}

void TProjectProperties::adjustWindowFrame()
{
    if (!m_adjust)
        return;
    if (const std::optional<WindowFrame> frame = m_adjust(shownFrame(), *this))
        showFrame(*frame);
}

}  // namespace doxel
