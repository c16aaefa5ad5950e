#pragma once

#include <QDialog>

#include <optional>

#include "core/settings.h"
#include "ui/logic/auto_sizer_rules.h"

class QLabel;
class QPushButton;

namespace doxel {

// The auto sizer: a sample window that opens with its outer frame (border
// and title bar included, as the window manager draws them) at the given
// bounds, shows its size while it is dragged, and hands back its outer
// frame through frame() once OkButton confirmed it.
class TAutoSizer final : public QDialog {
    Q_OBJECT

public:
    TAutoSizer(SettingsStore& settings, const WindowFrame& frame, QWidget* parent = nullptr);

    // The window's outer frame as it stands, or as it stood when the
    // window closed.
    WindowFrame frame() const;
    void done(int result) override;

    // Handlers.
    void setUpControls(SettingsStore& settings);
    void showFrameSize();
    void acceptFrame();
    void cancel();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Puts the outer frame at m_target with the margins the window manager
    // reports; runs again whenever they change, since a window manager
    // adds its frame only after the window is shown.
    void placeAtTarget();
    FrameMargins frameMargins() const;

    WindowFrame m_target;
    std::optional<WindowFrame> m_frameAtClose;
    FrameMargins m_placedWith;
    bool m_placed = false;
    int m_placementChecks = 0;
    QString m_widthPrefix;
    QString m_heightPrefix;
    QLabel* m_width;
    QLabel* m_height;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};

}  // namespace doxel
