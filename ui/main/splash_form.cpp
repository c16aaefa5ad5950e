#include "ui/main/splash_form.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

#include "ui/kit/icons.h"
#include "ui/kit/window_placement.h"

namespace doxel {
namespace {

constexpr int kWidth = 252;
constexpr int kHeight = 163;

}  // namespace

TSplash::TSplash(Mode mode, QWidget* parent)
    : QDialog(parent, (mode == Mode::Startup ? Qt::SplashScreen : Qt::Dialog) | Qt::FramelessWindowHint),
      m_version(new QLabel(QStringLiteral("Version ") + QStringLiteral(DOXEL_VERSION), this)),
      m_status(new QLabel(QStringLiteral("Loading application. Please wait..."), this)),
      m_close(new QPushButton(QStringLiteral("&CLOSE"), this))
{
    initIconResources();
    setObjectName(QStringLiteral("TSplash"));
    m_picture.load(QStringLiteral(":/icons/app/splash.svg"));
    setFixedSize(kWidth, kHeight);

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    for (QLabel* label : {m_version, m_status}) {
        label->setFont(small);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, QColor(0x20, 0x4a, 0x87));
        label->setPalette(colours);
    }
    m_version->setObjectName(QStringLiteral("VersionLabel"));
    m_status->setObjectName(QStringLiteral("StatusLine"));
    m_close->setObjectName(QStringLiteral("CloseButton"));
    m_close->setFlat(true);
    m_close->setFont(small);
    m_close->setCursor(Qt::PointingHandCursor);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    // The bottom 30 pixels of the picture are free: the version label on
    // the left, then the status line below it or the close button right.
    m_version->setGeometry(8, kHeight - 29, kWidth / 2, 13);
    m_status->setGeometry(8, kHeight - 15, kWidth - 16, 13);
    const QSize button = m_close->sizeHint().boundedTo(QSize(110, 24));
    m_close->setGeometry(kWidth - button.width() - 4, kHeight - button.height() - 3, button.width(), button.height());

    const bool about = mode == Mode::About;
    m_status->setVisible(!about);
    m_close->setVisible(about);
    setModal(about);
    centreOnScreen(*this);
}

void TSplash::showNow()
{
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_picture.render(&painter, QRectF(0, 0, kWidth, kHeight));
}

}  // namespace doxel
