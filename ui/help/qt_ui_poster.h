#pragma once

#include <QObject>

#include "env/ui_poster.h"

namespace doxel {

// Work from other threads runs on the user-interface thread as a queued
// call; waiting keeps the window responsive by handling its events.
class QtUiPoster final : public QObject, public UiPoster {
public:
    explicit QtUiPoster(QObject* parent = nullptr) : QObject(parent) {}

    void post(std::function<void()> task) override;
    void processUntil(const std::function<bool()>& done) override;
};

}  // namespace doxel
