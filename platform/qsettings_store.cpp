#include "platform/qsettings_store.h"

#include <cctype>

#include <QSettings>
#include <QString>

#include "core/errors.h"

namespace doxel {
namespace {

QSettings openSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tervanis"),
                     QStringLiteral("HTML Doxel"));
}

// Byte 7 and other control characters survive the INI file only as escapes
// of our own, since QSettings would drop them; "\" is escaped too.
QString escape(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20) {
            static const char digits[] = "0123456789abcdef";
            out += "\\x";
            out += digits[byte >> 4];
            out += digits[byte & 15];
        } else {
            out += c;
        }
    }
    return QString::fromStdString(out);
}

std::string unescape(const QString& stored)
{
    const std::string text = stored.toStdString();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            out += '\\';
            ++i;
        } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2])) != 0 &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 3])) != 0) {
            // Anything else after "\" is kept as written: a hand-edited file
            // must not stop the program.
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string QSettingsStore::read(const std::string& name)
{
    QSettings settings = openSettings();
    const QVariant value = settings.value(QString::fromStdString(name));
    if (settings.status() == QSettings::FormatError)
        throw SettingsError("The settings file " + settings.fileName().toStdString() + " cannot be read");
    if (!value.isValid())
        return {};
    if (value.typeId() == QMetaType::QStringList)
        return unescape(value.toStringList().join(QStringLiteral(", ")));
    return unescape(value.toString());
}

void QSettingsStore::write(const std::string& name, const std::string& value)
{
    QSettings settings = openSettings();
    settings.setValue(QString::fromStdString(name), escape(value));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw SettingsError("The setting " + name + " cannot be written to " + settings.fileName().toStdString());
}

}  // namespace doxel
