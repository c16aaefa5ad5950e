#pragma once

#include <QObject>

#include "env/ui_poster.h"

namespace doxel {

// Work from other threads runs on the user-interface thread as a queued
// call, through `run` when one is given (the window's command runner, so
// that an error of the work is shown rather than thrown into the event
// loop); waiting keeps the window responsive by handling its events.
class QtUiPoster final : public QObject, public UiPoster {
public:
    using Runner = std::function<void(const std::function<void()>&)>;
    explicit QtUiPoster(QObject* parent = nullptr, Runner run = {}) : QObject(parent), m_run(std::move(run)) {}

    void post(std::function<void()> task) override;
    void processUntil(const std::function<bool()>& done) override;

private:
    Runner m_run;
};

}  // namespace doxel
