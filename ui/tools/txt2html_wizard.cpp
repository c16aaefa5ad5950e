#include "ui/tools/txt2html_wizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
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
namespace {

constexpr std::uint32_t kFirstBackground = 0xF5F9CC;

QFrame* swatch(QWidget* parent, const char* name, std::uint32_t colour)
{
    auto* frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setFixedSize(22, 22);
    frame->setAutoFillBackground(true);
    frame->setEnabled(false);
    QPalette palette = frame->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Window, QColor::fromRgb(colour));
    frame->setPalette(palette);
    return frame;
}

}  // namespace

TTXT2HTML::TTXT2HTML(SettingsStore& settings, Desktop& desktop, CommandRunner& runner, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_settings(settings),
      m_desktop(desktop),
      m_runner(runner),
      m_book(named(new QStackedWidget(this), "Book")),
      m_label6(named(new QLabel(this), "Label6")),
      m_view(new ToolFileView(QStringLiteral("View"), this)),
      m_openDirButton(smallButton(this, "OpenDirButton", "toolbar/color/open.svg")),
      m_selAll(smallButton(this, "SelAll", "tools/selectall.svg")),
      m_selNone(smallButton(this, "SelNone", "tools/selectnone.svg")),
      m_backGr(named(new QPushButton(this), "BackGr")),
      m_backGrEdit(named(new QLineEdit(QStringLiteral("#F5F9CC"), this), "BackGrEdit")),
      m_c1(swatch(this, "c1", kFirstBackground)),
      m_textCl(named(new QPushButton(this), "TextCl")),
      m_textClEdit(named(new QLineEdit(QStringLiteral("#000000"), this), "TextClEdit")),
      m_c2(swatch(this, "c2", 0)),
      m_label5(named(new QLabel(this), "Label5")),
      m_fontFace(named(new QLineEdit(QStringLiteral("Verdana"), this), "FontFace")),
      m_label4(named(new QLabel(this), "Label4")),
      m_fontSize(named(new QSpinBox(this), "FontSize")),
      m_label1(named(new QLabel(this), "Label1")),
      m_bgImage(named(new QLineEdit(this), "BgImage")),
      m_useTitle1(named(new QRadioButton(this), "UseTitle1")),
      m_useTitle2(named(new QRadioButton(this), "UseTitle2")),
      m_titleEdit(named(new QLineEdit(this), "TitleEdit")),
      m_cssBox(named(new QCheckBox(this), "CSSBox")),
      m_cssEdit(named(new QLineEdit(this), "CSSEdit")),
      m_label8(named(new QLabel(this), "Label8")),
      m_label9(named(new QLabel(this), "Label9")),
      m_image1(named(new QLabel(this), "Image1")),
      m_progress(named(new QProgressBar(this), "Progress")),
      m_backButton(named(new QPushButton(this), "BackButton")),
      m_next(named(new QPushButton(this), "Next")),
      m_closeButton(named(new QPushButton(this), "CloseButton"))
{
    setObjectName(QStringLiteral("TTXT2HTML"));
    setModal(true);
    m_fontSize->setRange(0, kLargestFontSize);
    m_fontSize->setValue(PageOptions{}.fontSize);
    m_useTitle1->setChecked(true);
    m_titleEdit->setEnabled(false);
    m_cssEdit->setEnabled(false);
    m_progress->setTextVisible(false);
    m_progress->setValue(0);
    m_image1->setPixmap(resourceIcon("toolbar/color/wizard.svg").pixmap(64, 64));
    m_label6->setWordWrap(true);

    auto* step1 = named(new QWidget(m_book), "Step1");
    auto* step1Layout = new QGridLayout(step1);
    step1Layout->addWidget(m_label6, 0, 0, 1, 2);
    step1Layout->addWidget(m_view, 1, 0);
    auto* buttons = new QVBoxLayout;
    for (QToolButton* button : {m_openDirButton, m_selAll, m_selNone})
        buttons->addWidget(button);
    buttons->addStretch(1);
    step1Layout->addLayout(buttons, 1, 1);
    step1Layout->addWidget(m_view->subfoldersBox(), 2, 0, 1, 2);

    auto* step2 = named(new QWidget(m_book), "Step2");
    auto* grid = new QGridLayout(step2);
    grid->addWidget(m_backGr, 0, 0);
    grid->addWidget(m_backGrEdit, 0, 1);
    grid->addWidget(m_c1, 0, 2);
    grid->addWidget(m_textCl, 1, 0);
    grid->addWidget(m_textClEdit, 1, 1);
    grid->addWidget(m_c2, 1, 2);
    grid->addWidget(m_label5, 2, 0);
    grid->addWidget(m_fontFace, 2, 1);
    grid->addWidget(m_label4, 3, 0);
    grid->addWidget(m_fontSize, 3, 1, Qt::AlignLeft);
    grid->addWidget(m_label1, 4, 0);
    grid->addWidget(m_bgImage, 4, 1);
    grid->addWidget(m_useTitle1, 5, 0, 1, 3);
    grid->addWidget(m_useTitle2, 6, 0);
    grid->addWidget(m_titleEdit, 6, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);

    auto* step3 = named(new QWidget(m_book), "Step3");
    auto* step3Layout = new QGridLayout(step3);
    step3Layout->addWidget(m_cssBox, 0, 0);
    step3Layout->addWidget(m_cssEdit, 0, 1);
    step3Layout->setRowMinimumHeight(1, 16);
    step3Layout->addWidget(m_image1, 2, 0, Qt::AlignCenter);
    auto* ready = new QVBoxLayout;
    ready->setSpacing(2);
    ready->addStretch(1);
    ready->addWidget(m_label8);
    ready->addWidget(m_label9);
    ready->addStretch(1);
    step3Layout->addLayout(ready, 2, 1);
    step3Layout->setRowStretch(3, 1);
    step3Layout->addWidget(m_progress, 4, 0, 1, 2);
    step3Layout->setColumnStretch(1, 1);

    for (QWidget* page : {step1, step2, step3})
        m_book->addWidget(page);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_book, 1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_backButton);
    row->addWidget(m_next);
    row->addSpacing(12);
    row->addWidget(m_closeButton);
    layout->addLayout(row);

    connect(m_openDirButton, &QToolButton::clicked, this, &TTXT2HTML::addFilesOfFolder);
    connect(m_selAll, &QToolButton::clicked, this, &TTXT2HTML::tickAllFiles);
    connect(m_selNone, &QToolButton::clicked, this, &TTXT2HTML::untickAllFiles);
    connect(m_backGr, &QPushButton::clicked, this, [this] { chooseColour(true); });
    connect(m_textCl, &QPushButton::clicked, this, [this] { chooseColour(false); });
    connect(m_useTitle1, &QRadioButton::clicked, this, &TTXT2HTML::useFileNameTitle);
    connect(m_useTitle2, &QRadioButton::clicked, this, &TTXT2HTML::useCustomTitle);
    connect(m_cssBox, &QCheckBox::clicked, this, &TTXT2HTML::useStylesheetToggled);
    connect(m_next, &QPushButton::clicked, this, &TTXT2HTML::nextStep);
    connect(m_backButton, &QPushButton::clicked, this, &TTXT2HTML::previousStep);
    connect(m_closeButton, &QPushButton::clicked, this, &TTXT2HTML::cancel);

    setUpControls();
    showStep(0);
    resize(560, 400);
    centreOverOwner(*this);
}

void TTXT2HTML::setUpControls()
{
    const auto text = [this](int id) { return localText(m_settings, id); };
    setWindowTitle(text(text_id::kTxtToHtmlWizard));
    m_label6->setText(text(text_id::kChooseTextFiles));
    m_view->setHeaderLabels({text(text_id::kTextFiles)});
    m_view->subfoldersBox()->setText(text(text_id::kIncludeSubfolders));
    m_openDirButton->setToolTip(text(text_id::kSelectInputFolder));
    m_selAll->setToolTip(text(text_id::kSelectAll));
    m_selNone->setToolTip(text(text_id::kUnselectAll));
    // The texts end in runs of spaces that lined the captions up on
    // Windows; the layout does that here.
    m_backGr->setText(text(text_id::kSetBackgroundColour).trimmed());
    m_textCl->setText(text(text_id::kSetTextColour).trimmed());
    m_label5->setText(text(text_id::kFontFace));
    m_label4->setText(text(text_id::kFontSize));
    m_label1->setText(text(text_id::kBackgroundImage));
    m_useTitle1->setText(text(text_id::kTitleFromFileName));
    m_useTitle2->setText(text(text_id::kCustomTitle));
    m_cssBox->setText(text(text_id::kStylesheetReference));
    m_label8->setText(text(text_id::kPressFinish));
    m_label9->setText(text(text_id::kToStartConversion));
    m_backButton->setText(text(text_id::kBack));
    m_closeButton->setText(text(text_id::kClose));
}

PageOptions TTXT2HTML::pageOptions() const
{
    PageOptions options;
    options.backgroundColour = toStdString(m_backGrEdit->text());
    options.textColour = toStdString(m_textClEdit->text());
    options.fontFace = toStdString(m_fontFace->text());
    options.fontSize = m_fontSize->value();
    options.backgroundImage = toStdString(m_bgImage->text());
    options.titleFromFileName = m_useTitle1->isChecked();
    options.customTitle = toStdString(m_titleEdit->text());
    options.useStylesheet = m_cssBox->isChecked();
    options.stylesheet = toStdString(m_cssEdit->text());
    return options;
}

int TTXT2HTML::step() const
{
    return m_book->currentIndex();
}

void TTXT2HTML::showStep(int step)
{
    m_book->setCurrentIndex(step);
    m_backButton->setEnabled(step > 0);
    m_next->setText(localText(m_settings, step == 2 ? text_id::kFinish : text_id::kNext));
    m_next->setDefault(true);
}

void TTXT2HTML::addFilesOfFolder()
{
    m_runner.run([this] { m_view->listFolder(m_desktop, m_settings, m_lastFolder, ToolFileKind::Text); });
}

void TTXT2HTML::tickAllFiles()
{
    m_view->tickAll(true);
}

void TTXT2HTML::untickAllFiles()
{
    m_view->tickAll(false);
}

void TTXT2HTML::chooseColour(bool background)
{
    const std::optional<std::uint32_t> picked = m_desktop.chooseColor(m_lastColour);
    if (!picked)
        return;
    m_lastColour = *picked & 0xFFFFFF;
    const QString text =
        toQString(colourText((m_lastColour >> 16) & 0xFF, (m_lastColour >> 8) & 0xFF, m_lastColour & 0xFF));
    (background ? m_backGrEdit : m_textClEdit)->setText(text);
    QFrame* shown = background ? m_c1 : m_c2;
    QPalette palette = shown->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Window, QColor::fromRgb(m_lastColour));
    shown->setPalette(palette);
}

void TTXT2HTML::useFileNameTitle()
{
    if (m_useTitle1->isChecked())
        m_titleEdit->setEnabled(false);
}

void TTXT2HTML::useCustomTitle()
{
    if (m_useTitle2->isChecked())
        m_titleEdit->setEnabled(true);
}

void TTXT2HTML::useStylesheetToggled()
{
    m_cssEdit->setEnabled(m_cssBox->isChecked());
}

void TTXT2HTML::nextStep()
{
    switch (step()) {
    case 0:
        if (m_view->tickedCount() == 0) {
            showMessage(m_desktop, loadText(m_settings, text_id::kSpecifyTextFiles), kProgramName, MessageButtons::Ok,
                        MessageIcon::None);
            return;
        }
        showStep(1);
        return;
    case 1:
        showStep(2);
        return;
    default:
        m_runner.run([this] { convert(); });
    }
}

void TTXT2HTML::previousStep()
{
    if (step() > 0)
        showStep(step() - 1);
}

void TTXT2HTML::cancel()
{
    reject();
}

void TTXT2HTML::convert()
{
    const std::vector<std::string> files = m_view->tickedPaths();
    const int count = static_cast<int>(files.size());
    m_progress->setMaximum(count);
    m_progress->setValue(0);
    ConversionControl control;
    control.progress = [this](int index) {
        m_progress->setValue(index);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    const ConversionResult result = convertFiles(files, pageOptions(), control);
    // The run stopped at the file that failed; the pages before it stay.
    if (!result.failures.empty())
        throw IoError(result.failures.front().message);
    m_progress->setValue(0);
    showMessage(m_desktop, loadText(m_settings, text_id::kFilesProcessed) + " " + std::to_string(count),
                loadText(m_settings, text_id::kTxtToHtmlWizard), MessageButtons::Ok, MessageIcon::Information);
}

}  // namespace doxel
