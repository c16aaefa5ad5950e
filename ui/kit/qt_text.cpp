#include "ui/kit/qt_text.h"

#include "ui/logic/string_table.h"

namespace doxel {

QString displayText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '\n' || c == '\r') && i + 1 < text.size() && text[i + 1] == (c == '\n' ? '\r' : '\n')) {
            out += '\n';
            ++i;
        } else if (c == '\r') {
            out += '\n';
        } else {
            out += c;
        }
    }
    return QString::fromStdString(out);
}

QString localText(SettingsStore& settings, int id)
{
    return displayText(loadText(settings, id));
}

}  // namespace doxel
