#pragma once

#include <QPointer>
#include <QProgressBar>
#include <QWidget>

#include <memory>

#include "core/progress.h"
#include "core/settings.h"
#include "ui/logic/progress_rules.h"

namespace doxel {

// The progress window: a tool window without a close button that stays
// above the program's windows, captioned with text 107 ("Please wait..."),
// holding the progress bar `Bar` (177 by 13 pixels).
class TProgress final : public QWidget {
    Q_OBJECT

public:
    TProgress(SettingsStore& settings, QWidget* owner);
    QProgressBar* bar() const { return m_bar; }

private:
    QProgressBar* m_bar;
};

// The main window's progress reporter. Start creates the progress window
// and shows it only when ProgressMinimum is below the maximum; Step moves
// the bar and lets the window repaint (pending events are processed at
// most every 25 ms, without user input, so a long save stays fast and no
// command can run in the middle of it); End destroys the window.
class WindowProgress final : public ProgressReporter {
public:
    WindowProgress(SettingsStore& settings, QWidget* owner) : m_settings(settings), m_owner(owner) {}
    ~WindowProgress() override;

    void showProgress(ProgressMode mode, int value) override;

    // The progress window between Start and End, else null.
    TProgress* window() const { return m_window.get(); }

private:
    SettingsStore& m_settings;
    QPointer<QWidget> m_owner;
    std::unique_ptr<TProgress> m_window;
    EventPacer m_pacer;
    int m_maximum = 0;
    long long m_shownPart = 0;
};

}  // namespace doxel
