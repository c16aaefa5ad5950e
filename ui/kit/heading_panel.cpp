#include "ui/kit/heading_panel.h"

#include <QHBoxLayout>

namespace doxel {

HeadingPanel::HeadingPanel(const char* panelName, const char* labelName, const QString& text, QWidget* parent)
    : QWidget(parent), m_label(new QLabel(text, this))
{
    setObjectName(QString::fromLatin1(panelName));
    m_label->setObjectName(QString::fromLatin1(labelName));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Dark));
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    QFont font(QStringLiteral("Verdana"));
    font.setBold(true);
    m_label->setFont(font);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(m_label);
}

}  // namespace doxel
