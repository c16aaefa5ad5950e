#include "ui/tools/search_replace_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/desktop.h"
#include "core/errors.h"
#include "core/text_ids.h"
#include "ui/kit/icons.h"
#include "ui/kit/named_widget.h"
#include "ui/kit/qt_text.h"
#include "ui/kit/window_placement.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/string_table.h"
#include "ui/tools/tool_file_view.h"

namespace doxel {
TSearchReplace::TSearchReplace(SettingsStore& settings, Desktop& desktop, CommandRunner& runner, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_settings(settings),
      m_desktop(desktop),
      m_runner(runner),
      m_label6(named(new QLabel(this), "Label6")),
      m_label1(named(new QLabel(this), "Label1")),
      m_label2(named(new QLabel(this), "Label2")),
      m_searchString(named(new QLineEdit(this), "SearchString")),
      m_replaceString(named(new QLineEdit(this), "ReplaceString")),
      m_view(new ToolFileView(QStringLiteral("view"), this)),
      m_openButton(smallButton(this, "OpenButton", "toolbar/color/open.svg")),
      m_exampleButton(smallButton(this, "ExampleButton", "tools/example.svg")),
      m_selAll(smallButton(this, "SelAll", "tools/selectall.svg")),
      m_selNone(smallButton(this, "SelNone", "tools/selectnone.svg")),
      m_progressBar(named(new QProgressBar(this), "ProgressBar")),
      m_createBackupBox(named(new QCheckBox(this), "CreateBackupBox")),
      m_ignoreCaseBox(named(new QCheckBox(this), "IgnoreCaseBox")),
      m_button2(named(new QPushButton(this), "Button2")),
      m_button1(named(new QPushButton(this), "Button1"))
{
    setObjectName(QStringLiteral("TSearchReplace"));
    setModal(true);
    m_ignoreCaseBox->setChecked(true);
    m_createBackupBox->setChecked(true);
    m_progressBar->setTextVisible(false);
    m_progressBar->setValue(0);
    m_button2->setDefault(true);
    QFont banner = m_label6->font();
    banner.setBold(true);
    m_label6->setFont(banner);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_label6, 0, 0, 1, 3);
    layout->addWidget(m_label1, 1, 0);
    layout->addWidget(m_label2, 1, 1);
    layout->addWidget(m_searchString, 2, 0);
    layout->addWidget(m_replaceString, 2, 1);
    layout->addWidget(m_view, 3, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    for (QToolButton* button : {m_openButton, m_exampleButton, m_selAll, m_selNone})
        buttons->addWidget(button);
    buttons->addStretch(1);
    layout->addLayout(buttons, 3, 2);
    layout->addWidget(m_progressBar, 4, 0, 1, 2);
    auto* options = new QVBoxLayout;
    options->addWidget(m_createBackupBox);
    options->addWidget(m_ignoreCaseBox);
    options->addWidget(m_view->subfoldersBox());
    layout->addLayout(options, 5, 0);
    auto* closing = new QVBoxLayout;
    closing->addWidget(m_button2);
    closing->addWidget(m_button1);
    layout->addLayout(closing, 5, 1, Qt::AlignRight | Qt::AlignBottom);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    connect(m_openButton, &QToolButton::clicked, this, &TSearchReplace::addFilesOfFolder);
    connect(m_exampleButton, &QToolButton::clicked, this, &TSearchReplace::showExample);
    connect(m_selAll, &QToolButton::clicked, this, &TSearchReplace::tickAllFiles);
    connect(m_selNone, &QToolButton::clicked, this, &TSearchReplace::untickAllFiles);
    connect(m_button2, &QPushButton::clicked, this, &TSearchReplace::replaceInTickedFiles);
    connect(m_button1, &QPushButton::clicked, this, &TSearchReplace::cancel);

    setUpControls();
    resize(560, 420);
    centreOverOwner(*this);
}

void TSearchReplace::setUpControls()
{
    const auto text = [this](int id) { return localText(m_settings, id); };
    setWindowTitle(text(text_id::kReplaceWizard));
    m_label6->setText(text(text_id::kReplaceBanner));
    m_label1->setText(text(text_id::kSearchString));
    m_label2->setText(text(text_id::kReplaceWith));
    m_createBackupBox->setText(text(text_id::kCreateBackups));
    m_ignoreCaseBox->setText(text(text_id::kIgnoreCase));
    m_openButton->setToolTip(text(text_id::kSelectInputFolder));
    m_exampleButton->setToolTip(text(text_id::kExample));
    m_selAll->setToolTip(text(text_id::kSelectAll));
    m_selNone->setToolTip(text(text_id::kUnselectAll));
    m_view->setHeaderLabels({text(text_id::kHtmlAndTextFiles)});
    m_view->subfoldersBox()->setText(text(text_id::kIncludeSubfolders));
    m_button1->setText(text(text_id::kClose));
    m_button2->setText(text(text_id::kOk));
}

ReplaceOptions TSearchReplace::replaceOptions() const
{
    ReplaceOptions options;
    options.strings.search = toStdString(m_searchString->text());
    options.strings.replacement = toStdString(m_replaceString->text());
    options.strings.ignoreCase = m_ignoreCaseBox->isChecked();
    options.backup = m_createBackupBox->isChecked();
    return options;
}

void TSearchReplace::addFilesOfFolder()
{
    m_runner.run([this] { m_view->listFolder(m_desktop, m_settings, m_lastFolder, ToolFileKind::TextAndHtml); });
}

void TSearchReplace::showExample()
{
    m_searchString->setText(QStringLiteral("BGCOLOR=\"#FFFFFF\""));
    m_replaceString->setText(QStringLiteral("BGCOLOR=\"#0080C0\""));
}

void TSearchReplace::tickAllFiles()
{
    m_view->tickAll(true);
}

void TSearchReplace::untickAllFiles()
{
    m_view->tickAll(false);
}

void TSearchReplace::replaceInTickedFiles()
{
    if (m_view->topLevelItemCount() == 0 || m_searchString->text().isEmpty()) {
        showMessage(m_desktop, loadText(m_settings, text_id::kSpecifyFilesAndSearch), kProgramName, MessageButtons::Ok,
                    MessageIcon::None);
        return;
    }
    m_runner.run([this] { replace(); });
}

void TSearchReplace::cancel()
{
    reject();
}

void TSearchReplace::replace()
{
    const std::vector<std::string> files = m_view->tickedPaths();
    m_progressBar->setMaximum(static_cast<int>(files.size()));
    m_progressBar->setValue(0);
    ReplaceRunControl control;
    control.progress = [this](int processed) {
        m_progressBar->setValue(processed);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    const ReplaceRunResult result = replaceInFiles(files, replaceOptions(), control);
    // The run stopped at the file that failed; the files before it keep
    // their changes and the failing one its old bytes.
    if (!result.failures.empty())
        throw IoError(result.failures.front().message);
    showMessage(m_desktop, loadText(m_settings, text_id::kFilesProcessed) + " " + std::to_string(result.processed),
                kProgramName, MessageButtons::Ok, MessageIcon::None);
    m_progressBar->setValue(0);
}

}  // namespace doxel
