#include "ui/main/progress_form.h"

#include <QApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "core/text_ids.h"
#include "ui/kit/qt_text.h"
#include "ui/kit/window_placement.h"

namespace doxel {

TProgress::TProgress(SettingsStore& settings, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("TProgress"));
    setWindowTitle(localText(settings, text_id::kPleaseWait));
    m_bar->setObjectName(QStringLiteral("Bar"));
    m_bar->setFixedSize(177, 13);
    m_bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_bar);
    setFixedSize(sizeHint());
    centreOverOwner(*this);
}

WindowProgress::~WindowProgress() = default;

void WindowProgress::showProgress(ProgressMode mode, int value)
{
    switch (mode) {
    case ProgressMode::Start: {
        // Read first: a refused settings read leaves no window behind.
        const bool shown = progressWindowShown(m_settings, value);
        m_window = std::make_unique<TProgress>(m_settings, m_owner);
        m_window->bar()->setMaximum(value);
        m_window->bar()->setValue(0);
        m_maximum = value;
        m_shownPart = 0;
        if (shown)
            m_window->show();
        m_pacer = EventPacer();
        break;
    }
    case ProgressMode::Step: {
        if (!m_window)
            return;
        // Moving the bar costs a signal and a repaint check; a step that
        // does not change the bar by a thousandth is not shown.
        const long long part = m_maximum > 0 ? static_cast<long long>(value) * 1000 / m_maximum : value;
        if (part != m_shownPart) {
            m_shownPart = part;
            m_window->bar()->setValue(value);
        }
        if (m_pacer.due())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        break;
    }
    case ProgressMode::End:
        m_window.reset();
        break;
    }
}

}  // namespace doxel
