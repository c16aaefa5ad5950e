#pragma once

#include <QString>

#include <string>

#include "core/settings.h"

namespace doxel {

inline QString toQString(const std::string& text)
{
    return QString::fromStdString(text);
}

inline std::string toStdString(const QString& text)
{
    return text.toStdString();
}

// A text for a Qt widget: the "\n\r" that loadText makes of "|", and
// "\r\n" and a lone "\r", all become one "\n", the line break Qt shows.
QString displayText(const std::string& text);

// loadText for a widget: fetched in the current language, line breaks
// made displayable.
QString localText(SettingsStore& settings, int id);

}  // namespace doxel
