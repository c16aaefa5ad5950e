#pragma once

#include <QString>
#include <QToolButton>

#include "ui/kit/icons.h"

namespace doxel {

// Gives a control the name that tests, the manual's screenshots and the
// caption table know it by.
template <class Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A new control of `parent`, named.
template <class Widget>
Widget* named(QWidget* parent, const char* name)
{
    return named(new Widget(parent), name);
}

// The flat picture button of a dialog's file list ("add", "remove", ...).
inline QToolButton* smallButton(QWidget* parent, const char* name, const char* icon)
{
    auto* button = named<QToolButton>(parent, name);
    button->setIcon(resourceIcon(icon));
    button->setAutoRaise(true);
    return button;
}

}  // namespace doxel
