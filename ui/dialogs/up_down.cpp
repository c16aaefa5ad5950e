#include "ui/dialogs/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace doxel {

UpDown::UpDown(int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      m_minimum(minimum),
      m_maximum(maximum),
      m_value(minimum),
      m_up(new QToolButton(this)),
      m_down(new QToolButton(this))
{
    m_up->setObjectName(QStringLiteral("Up"));
    m_down->setObjectName(QStringLiteral("Down"));
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* arrow : {m_up, m_down}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setFixedSize(16, 11);
        layout->addWidget(arrow);
    }
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
}

void UpDown::setValue(int value)
{
    m_value = std::clamp(value, m_minimum, m_maximum);
}

void UpDown::stepUp()
{
    step(1);
}

void UpDown::stepDown()
{
    step(-1);
}

void UpDown::step(int by)
{
    const int next = std::clamp(m_value + by, m_minimum, m_maximum);
    if (next == m_value)
        return;
    m_value = next;
    emit stepped(m_value);
}

}  // namespace doxel
