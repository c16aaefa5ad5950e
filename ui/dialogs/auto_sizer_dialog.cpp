#include "ui/dialogs/auto_sizer_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "core/text_ids.h"
#include "ui/kit/qt_text.h"

namespace doxel {
namespace {

// How long after showing the window keeps looking for the frame the
// window manager adds (checks every 25 ms), for a busy machine's sake;
// it stops as soon as the frame was there.
constexpr int kPlacementChecks = 200;

QRect innerRect(const WindowFrame& frame, const FrameMargins& margins)
{
    const WindowFrame inner = innerAreaFor(frame, margins);
    return {inner.left, inner.top, inner.width, inner.height};
}

}  // namespace

TAutoSizer::TAutoSizer(SettingsStore& settings, const WindowFrame& frame, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_target(frame),
      m_width(new QLabel(this)),
      m_height(new QLabel(this)),
      m_okButton(new QPushButton(this)),
      m_cancelButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("TAutoSizer"));
    setModal(true);
    setWindowTitle(QStringLiteral("Auto Sizer"));
    m_width->setObjectName(QStringLiteral("w"));
    m_height->setObjectName(QStringLiteral("h"));
    m_okButton->setObjectName(QStringLiteral("OkButton"));
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    m_okButton->setDefault(true);
    QFont bold = m_width->font();
    bold.setBold(true);
    m_width->setFont(bold);
    m_height->setFont(bold);

    auto* layout = new QVBoxLayout(this);
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        auto* line = new QLabel(this);
        line->setObjectName(QString::fromLatin1(name));
        layout->addWidget(line);
    }
    layout->addSpacing(6);
    layout->addWidget(m_width);
    layout->addWidget(m_height);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);
    // The sample may be dragged smaller than its contents; the window
    // manager sets the limit.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(1, 1);

    connect(m_okButton, &QPushButton::clicked, this, &TAutoSizer::acceptFrame);
    connect(m_cancelButton, &QPushButton::clicked, this, &TAutoSizer::cancel);
    setUpControls(settings);
    setGeometry(innerRect(m_target, {}));
}

void TAutoSizer::setUpControls(SettingsStore& settings)
{
    const std::pair<const char*, int> lines[] = {{"Label1", text_id::kAutoSizerLine1},
                                                 {"Label2", text_id::kAutoSizerLine2},
                                                 {"Label3", text_id::kAutoSizerLine3}};
    for (const auto& [name, id] : lines)
        findChild<QLabel*>(QString::fromLatin1(name))->setText(localText(settings, id));
    m_widthPrefix = localText(settings, text_id::kWidthLabel);
    m_heightPrefix = localText(settings, text_id::kHeightLabel);
    m_width->setText(m_widthPrefix);
    m_height->setText(m_heightPrefix);
    m_okButton->setText(localText(settings, text_id::kOk));
    m_cancelButton->setText(localText(settings, text_id::kDialogCancel));
}

void TAutoSizer::done(int result)
{
    // Once hidden, the window has no frame to ask about.
    m_frameAtClose = frame();
    QDialog::done(result);
}

WindowFrame TAutoSizer::frame() const
{
    if (!isVisible() && m_frameAtClose)
        return *m_frameAtClose;
    // Asked of the window manager each time: QWidget::frameGeometry keeps
    // the frame it saw first, which may be none while the window was being
    // mapped.
    const QRect inner = geometry();
    return outerFrameOf({inner.x(), inner.y(), inner.width(), inner.height()}, frameMargins());
}

FrameMargins TAutoSizer::frameMargins() const
{
    const QWindow* window = windowHandle();
    if (window == nullptr)
        return {};
    const QMargins margins = window->frameMargins();
    return {margins.left(), margins.top(), margins.right(), margins.bottom()};
}

void TAutoSizer::placeAtTarget()
{
    const FrameMargins margins = frameMargins();
    if (m_placed && margins == m_placedWith)
        return;
    m_placed = true;
    m_placedWith = margins;
    setGeometry(innerRect(m_target, margins));
    showFrameSize();
    // Placed inside a real frame: from now on every move and resize is the
    // user's (a frame that changes later, as when maximizing removes it,
    // must not put the window back).
    if (margins != FrameMargins{})
        m_placementChecks = 0;
}

void TAutoSizer::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Window managers report their frame a moment after mapping, and not
    // always with a move; look again for a short while.
    m_placementChecks = kPlacementChecks;
    placeAtTarget();
    auto* timer = new QTimer(this);
    timer->setInterval(25);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        if (m_placementChecks > 0)
            placeAtTarget();
        if (--m_placementChecks <= 0)
            timer->deleteLater();
    });
    timer->start();
}

void TAutoSizer::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (m_placementChecks > 0)
        placeAtTarget();
}

void TAutoSizer::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    showFrameSize();
}

void TAutoSizer::showFrameSize()
{
    const WindowFrame outer = frame();
    m_width->setText(toQString(sizeLabelText(toStdString(m_widthPrefix), outer.width)));
    m_height->setText(toQString(sizeLabelText(toStdString(m_heightPrefix), outer.height)));
}

void TAutoSizer::acceptFrame()
{
    accept();
}

void TAutoSizer::cancel()
{
    reject();
}

}  // namespace doxel
