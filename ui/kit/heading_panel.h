#pragma once

#include <QLabel>
#include <QWidget>

namespace doxel {

// The heading of a page: white bold Verdana on the shadow colour, one
// label (TOCLabel, PreviewLabel, IndexLabel) in a panel (Panel1, Panel3,
// Panel4).
class HeadingPanel final : public QWidget {
    Q_OBJECT

public:
    HeadingPanel(const char* panelName, const char* labelName, const QString& text, QWidget* parent = nullptr);
    QLabel* label() const { return m_label; }

private:
    QLabel* m_label;
};

}  // namespace doxel
