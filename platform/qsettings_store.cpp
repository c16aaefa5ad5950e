#include "platform/qsettings_store.h"

#include <cctype>
#include <optional>

#include <QFile>
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

// The value of `name` in the [General] section as the file spells it, with
// QSettings' quotes and escapes undone but its commas kept: a value with a
// comma, written by hand without quotes ("LogFile=~/logs/a,b.txt"), is
// one text to us, never a list. Nothing when the line is not there.
std::optional<QString> storedText(const QString& fileName, const QString& name)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool general = true;  // keys before any section header are General's
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            general = line == QLatin1String("[General]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!general || equals < 0 || line.left(equals).trimmed() != name)
            continue;
        const QString raw = line.mid(equals + 1).trimmed();
        QString text;
        bool quoted = false;
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const QChar c = raw[i];
            if (c == QLatin1Char('"')) {
                quoted = !quoted;
            } else if (c == QLatin1Char(';') && !quoted) {
                break;  // a comment
            } else if (c == QLatin1Char('\\') && i + 1 < raw.size()) {
                const QChar next = raw[++i];
                switch (next.unicode()) {
                case 'a':
                    text += QChar(7);
                    break;
                case 'b':
                    text += QChar(8);
                    break;
                case 'f':
                    text += QChar(12);
                    break;
                case 'n':
                    text += QChar(10);
                    break;
                case 'r':
                    text += QChar(13);
                    break;
                case 't':
                    text += QChar(9);
                    break;
                case 'v':
                    text += QChar(11);
                    break;
                case 'x': {
                    qsizetype end = i + 1;
                    while (end < raw.size() && end < i + 5 && std::isxdigit(raw[end].unicode()) != 0)
                        ++end;
                    text += QChar(raw.mid(i + 1, end - i - 1).toUShort(nullptr, 16));
                    i = end - 1;
                    break;
                }
                default:
                    text += next;
                    break;
                }
            } else {
                text += c;
            }
        }
        return text;
    }
    return std::nullopt;
}

// The stored text of a value QSettings took for a list, as one text.
QString storedValue(const QSettings& settings, const QString& name, const QVariant& value)
{
    if (value.typeId() != QMetaType::QStringList)
        return value.toString();
    const std::optional<QString> text = storedText(settings.fileName(), name);
    return text ? *text : value.toStringList().join(QLatin1Char(','));
}

}  // namespace

std::string QSettingsStore::read(const std::string& name)
{
    QSettings settings = openSettings();
    const QVariant value = settings.value(QString::fromStdString(name));
    // QSettings skips a line it cannot read and reads the rest; the line is
    // reported once, at start, and the program goes on with the rest.
    if (settings.status() == QSettings::FormatError)
        noteUnreadableLine(settings.fileName());
    if (!value.isValid())
        return {};
    return unescape(storedValue(settings, QString::fromStdString(name), value));
}

void QSettingsStore::write(const std::string& name, const std::string& value)
{
    QSettings settings = openSettings();
    // QSettings writes every value back, and a hand-written one with a
    // comma it read as a list would come back as "a, b": each goes back as
    // the one text it was.
    for (const QString& key : settings.childKeys()) {
        const QVariant stored = settings.value(key);
        if (stored.typeId() == QMetaType::QStringList)
            settings.setValue(key, storedValue(settings, key, stored));
    }
    settings.setValue(QString::fromStdString(name), escape(value));
    settings.sync();
    // A line that could not be read leaves FormatError behind, and the file
    // is written without it all the same.
    if (settings.status() == QSettings::AccessError)
        throw SettingsError("The setting " + name + " cannot be written to " + settings.fileName().toStdString());
}

std::string QSettingsStore::readProblem() const
{
    return m_problem;
}

void QSettingsStore::noteUnreadableLine(const QString& fileName)
{
    if (!m_problem.empty())
        return;
    QFile file(fileName);
    const std::string text = file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    m_problem = "The settings file " + fileName.toStdString() + " has a line that cannot be read";
    if (const std::optional<UnreadableSettingsLine> line = firstUnreadableSettingsLine(text))
        m_problem += " (line " + std::to_string(line->number) + ": \"" + line->text + "\")";
    m_problem +=
        ". HTML Doxel starts with the settings it could read; the next change of a setting writes the "
        "file without that line.";
}

}  // namespace doxel
