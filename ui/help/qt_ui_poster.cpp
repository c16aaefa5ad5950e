#include "ui/help/qt_ui_poster.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace doxel {

void QtUiPoster::post(std::function<void()> task)
{
    if (!m_run) {
        QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, task = std::move(task)] { m_run(task); }, Qt::QueuedConnection);
}

void QtUiPoster::processUntil(const std::function<bool()>& done)
{
    // The end of the work arrives as a posted call, which wakes the wait.
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace doxel
