#include "ui/dialogs/preferences_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include "core/text_ids.h"
#include "ui/contents/icon_combo.h"
#include "ui/dialogs/up_down.h"
#include "ui/kit/icons.h"
#include "ui/kit/named_widget.h"
#include "ui/kit/qt_text.h"
#include "ui/kit/window_placement.h"

namespace doxel {
namespace {

// The number field's key filter: only digits go in, typed or pasted.
class DigitsValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int&) const override
    {
        return numberFieldAccepts(toStdString(text)) ? Acceptable : Invalid;
    }
};

constexpr std::pair<const char*, int> kLabelTexts[] = {
    {"Label1", text_id::kCompiling},
    {"LaunchHelp", text_id::kLaunchHelp},
    {"ViewLog", text_id::kViewLog},
    {"DelTemp", text_id::kDeleteTemporaryFiles},
    {"Label3", text_id::kPaths},
    {"Label2", text_id::kHtmlEditorPath},
    {"Label5", text_id::kLogFilePath},
    {"CancelButton", text_id::kCancel},
    {"Label4", text_id::kDefaultIcons},
    {"Label6", text_id::kForNewTopics},
    {"Label7", text_id::kForNewHeaders},
    {"ColorsBox", text_id::kColoredToolbar},
    {"UseChmcmd", text_id::kUseChmcmd},
    {"Label8", text_id::kProgressBelowBefore},
    {"Label9", text_id::kProgressBelowAfter},
};

QFrame* rule(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* heading(QWidget* parent, const char* name)
{
    auto* label = named<QLabel>(parent, name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// A chosen program for the HtmlEditor command line, which is split like a
// shell would split it: a path with spaces or quotes goes in quotes.
QString programForCommand(const QString& path)
{
    if (QProcess::splitCommand(path) == QStringList{path})
        return path;
    QString quoted = path;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

std::string folderOfPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? std::string() : toStdString(path.left(slash + 1));
}

}  // namespace

TPreferences::TPreferences(SettingsStore& settings, Desktop& desktop, const PreferencesValues& values, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_desktop(desktop)
{
    setObjectName(QStringLiteral("TPreferences"));
    setModal(true);
    buildPages();
    setUpControls(settings);
    showValues(values);
    m_pages->setCurrentIndex(0);
    m_okButton->setDefault(true);
    m_okButton->setFocus();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    centreOverOwner(*this);

    connect(m_browseEditor, &QToolButton::clicked, this, &TPreferences::chooseHtmlEditor);
    connect(m_browseLog, &QToolButton::clicked, this, &TPreferences::chooseLogFile);
    connect(m_numberEdit, &QLineEdit::textChanged, this, &TPreferences::progressMinimumEdited);
    connect(m_upDown, &UpDown::stepped, this, &TPreferences::progressMinimumStepped);
    connect(m_okButton, &QPushButton::clicked, this, &TPreferences::confirm);
    connect(m_cancelButton, &QPushButton::clicked, this, &TPreferences::cancel);
}

void TPreferences::buildPages()
{
    m_pages = named<QTabWidget>(this, "PageControl1");
    const QFont fixedPitch = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    // Files: what happens after a compile, and the two paths.
    auto* files = named<QWidget>(m_pages, "TabSheet1");
    auto* filesLayout = new QGridLayout(files);
    auto* picture = named<QLabel>(files, "Image1");
    picture->setPixmap(programIcon().pixmap(32, 32));
    filesLayout->addWidget(heading(files, "Label1"), 0, 0);
    filesLayout->addWidget(picture, 0, 1, 2, 2, Qt::AlignRight | Qt::AlignTop);
    filesLayout->addWidget(rule(files), 1, 0);
    m_launchHelp = named<QCheckBox>(files, "LaunchHelp");
    m_viewLog = named<QCheckBox>(files, "ViewLog");
    m_delTemp = named<QCheckBox>(files, "DelTemp");
    // The compile always deletes its temporary files.
    m_delTemp->setChecked(true);
    m_delTemp->setEnabled(false);
    filesLayout->addWidget(m_launchHelp, 2, 0, 1, 3);
    filesLayout->addWidget(m_viewLog, 3, 0, 1, 3);
    filesLayout->addWidget(m_delTemp, 4, 0, 1, 3);
    filesLayout->addWidget(heading(files, "Label3"), 5, 0, 1, 3);
    filesLayout->addWidget(rule(files), 6, 0, 1, 3);
    m_editorPath = named<QLineEdit>(files, "HEditorPath");
    m_logLocation = named<QLineEdit>(files, "LogLocation");
    m_browseEditor = named<QToolButton>(files, "SpeedButton1");
    m_browseLog = named<QToolButton>(files, "SpeedButton2");
    int row = 7;
    for (auto [label, field, browse] :
         {std::tuple{"Label2", m_editorPath, m_browseEditor}, std::tuple{"Label5", m_logLocation, m_browseLog}}) {
        auto* caption = named<QLabel>(files, label);
        caption->setBuddy(field);
        field->setFont(fixedPitch);
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 44);
        browse->setText(QStringLiteral("..."));
        filesLayout->addWidget(caption, row++, 0, 1, 3);
        filesLayout->addWidget(field, row, 0, 1, 2);
        filesLayout->addWidget(browse, row++, 2);
    }
    // The second help compiler, for authors who need chmcmd's output.
    m_useChmcmd = named<QCheckBox>(files, "UseChmcmd");
    filesLayout->addWidget(m_useChmcmd, row++, 0, 1, 3);
    filesLayout->setRowStretch(row, 1);
    filesLayout->setColumnStretch(0, 1);
    m_pages->addTab(files, QString());

    // Appearance: default icons, the progress threshold, the tool bar.
    auto* appearance = named<QWidget>(m_pages, "TabSheet2");
    auto* appearanceLayout = new QVBoxLayout(appearance);
    appearanceLayout->addWidget(heading(appearance, "Label4"));
    appearanceLayout->addWidget(rule(appearance));
    m_topicIcon = named<IconCombo>(appearance, "ImageCombo1");
    m_headerIcon = named<IconCombo>(appearance, "ImageCombo2");
    for (auto [combo, label] : {std::pair{m_topicIcon, "Label6"}, std::pair{m_headerIcon, "Label7"}}) {
        auto* line = new QHBoxLayout;
        auto* caption = named<QLabel>(appearance, label);
        caption->setBuddy(combo);
        line->addWidget(combo);
        line->addWidget(caption, 1);
        appearanceLayout->addLayout(line);
    }
    appearanceLayout->addWidget(rule(appearance));
    appearanceLayout->addWidget(named<QLabel>(appearance, "Label8"));
    m_numberEdit = named<QLineEdit>(appearance, "NumberEdit");
    m_numberEdit->setValidator(new DigitsValidator(m_numberEdit));
    m_numberEdit->setMaxLength(9);
    m_numberEdit->setFixedWidth(m_numberEdit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    m_upDown = new UpDown(0, kNumberFieldLimit, appearance);
    m_upDown->setObjectName(QStringLiteral("UpDown"));
    auto* numberLine = new QHBoxLayout;
    numberLine->setSpacing(2);
    numberLine->addWidget(m_numberEdit);
    numberLine->addWidget(m_upDown);
    numberLine->addSpacing(4);
    numberLine->addWidget(named<QLabel>(appearance, "Label9"));
    numberLine->addStretch(1);
    appearanceLayout->addLayout(numberLine);
    appearanceLayout->addWidget(rule(appearance));
    m_colorsBox = named<QCheckBox>(appearance, "ColorsBox");
    appearanceLayout->addWidget(m_colorsBox);
    appearanceLayout->addStretch(1);
    m_pages->addTab(appearance, QString());

    m_okButton = named<QPushButton>(this, "Button1");
    m_cancelButton = named<QPushButton>(this, "CancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
}

void TPreferences::setUpControls(SettingsStore& settings)
{
    setWindowTitle(localText(settings, text_id::kSettings));
    m_pages->setTabText(0, localText(settings, text_id::kSettingsFiles));
    m_pages->setTabText(1, localText(settings, text_id::kAppearance));
    for (const auto& [name, id] : kLabelTexts) {
        QWidget* control = findChild<QWidget*>(QString::fromLatin1(name));
        if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(localText(settings, id));
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(localText(settings, id));
    }
    // The same in every language.
    m_okButton->setText(QStringLiteral("&Ok"));
}

void TPreferences::showValues(const PreferencesValues& values)
{
    m_editorPath->setText(toQString(values.htmlEditor));
    m_logLocation->setText(toQString(values.logFile));
    m_launchHelp->setChecked(values.launchHelp);
    m_viewLog->setChecked(values.viewLog);
    m_numberEdit->setText(toQString(values.progressMinimum));
    progressMinimumEdited();
    m_topicIcon->showRow(values.defaultIcon1);
    m_headerIcon->showRow(values.defaultIcon2);
    m_colorsBox->setChecked(values.toolbarColored);
    m_useChmcmd->setChecked(values.useChmcmd);
}

PreferencesValues TPreferences::values() const
{
    PreferencesValues values;
    values.htmlEditor = toStdString(m_editorPath->text());
    values.logFile = toStdString(m_logLocation->text());
    values.launchHelp = m_launchHelp->isChecked();
    values.viewLog = m_viewLog->isChecked();
    values.progressMinimum = toStdString(m_numberEdit->text());
    values.defaultIcon1 = m_topicIcon->currentIndex();
    values.defaultIcon2 = m_headerIcon->currentIndex();
    values.toolbarColored = m_colorsBox->isChecked();
    values.useChmcmd = m_useChmcmd->isChecked();
    return values;
}

void TPreferences::chooseHtmlEditor()
{
    FileDialogRequest request;
    request.title = "Browse for HTML Editor...";
    request.filters = {{"Executables", "*"}};
    const QStringList command = QProcess::splitCommand(m_editorPath->text());
    if (!command.isEmpty())
        request.initialFolder = folderOfPath(command.front());
    if (const std::optional<std::string> chosen = m_desktop.chooseOpenFile(request))
        m_editorPath->setText(programForCommand(toQString(*chosen)));
}

void TPreferences::chooseLogFile()
{
    FileDialogRequest request;
    request.title = "Log File...";
    request.filters = {{"Textfiles", "*.txt"}};
    request.defaultExtension = "txt";
    request.initialFolder = folderOfPath(m_logLocation->text());
    if (const std::optional<std::string> chosen = m_desktop.chooseSaveFile(request))
        m_logLocation->setText(toQString(*chosen));
}

void TPreferences::progressMinimumEdited()
{
    const NumberField field = numberFieldAfterChange(toStdString(m_numberEdit->text()), m_upDown->value());
    if (toQString(field.text) != m_numberEdit->text()) {
        const QSignalBlocker quiet(m_numberEdit);
        m_numberEdit->setText(toQString(field.text));
    }
    m_upDown->setValue(field.arrows);
}

void TPreferences::progressMinimumStepped(int value)
{
    m_numberEdit->setText(QString::number(value));
}

void TPreferences::confirm()
{
    accept();
}

void TPreferences::cancel()
{
    reject();
}

}  // namespace doxel
