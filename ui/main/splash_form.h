#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSvgRenderer>

namespace doxel {

// The start-up screen and the about window: the program's picture (252 by
// 163 pixels), the version label and, at the foot, either the status line
// "Loading application. Please wait..." (start-up) or the flat button
// CloseButton "&CLOSE" (about).
class TSplash final : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Startup, About };
    explicit TSplash(Mode mode, QWidget* parent = nullptr);

    // Shows the start-up screen centred and paints it at once.
    void showNow();

    QLabel* versionLabel() const { return m_version; }
    QLabel* statusLine() const { return m_status; }
    QPushButton* closeButton() const { return m_close; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer m_picture;
    QLabel* m_version;
    QLabel* m_status;
    QPushButton* m_close;
};

}  // namespace doxel
