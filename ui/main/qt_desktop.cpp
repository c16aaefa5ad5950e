#include "ui/main/qt_desktop.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QSpacerItem>
#include <QStringList>
#include <QUrl>

#include "ui/kit/qt_text.h"
#include "ui/kit/title_width.h"

namespace doxel {
namespace {

QMessageBox::StandardButton standardButton(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QMessageBox::Ok;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    case MessageAnswer::None:
        break;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

std::vector<std::string> runFileDialog(QWidget* owner, const FileDialogRequest& request, QFileDialog::AcceptMode mode,
                                       QFileDialog::FileMode fileMode)
{
    QFileDialog dialog(owner, toQString(request.title), toQString(request.initialFolder),
                       qtFileFilter(request.filters));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(fileMode);
    if (!request.fileName.empty())
        dialog.selectFile(toQString(request.fileName));
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(toQString(request.defaultExtension));
    std::vector<std::string> paths;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& file : dialog.selectedFiles())
            paths.push_back(toStdString(file));
    }
    return paths;
}

}  // namespace

QString qtFileFilter(const std::vector<FileFilter>& filters)
{
    QStringList parts;
    for (const FileFilter& filter : filters) {
        QString description = toQString(filter.description).trimmed();
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        QString patterns = toQString(filter.patterns);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        parts << description + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
    }
    return parts.join(QStringLiteral(";;"));
}

MessageAnswer QtDesktop::messageBox(const MessageRequest& request)
{
    QMessageBox box(boxIcon(request.icon), toQString(request.caption), displayText(request.text),
                    boxButtons(request.buttons), m_owner);
    if (const auto preferred = standardButton(request.defaultAnswer); preferred != QMessageBox::NoButton)
        box.setDefaultButton(preferred);
    // A message box sizes itself to its text, whatever its minimum width; a
    // spacer across its grid keeps a short text's box wide enough for the
    // whole title.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(widthForTitle(box, box.windowTitle()), 0, QSizePolicy::Minimum), grid->rowCount(),
                      0, 1, grid->columnCount());
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        break;
    }
    // Closed without a button: Cancel where there is one, else No or OK.
    switch (request.buttons) {
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    default:
        return MessageAnswer::Cancel;
    }
}

std::optional<std::string> QtDesktop::inputBox(const std::string& caption, const std::string& prompt,
                                               const std::string& text)
{
    QInputDialog box(m_owner);
    box.setWindowTitle(toQString(caption));
    box.setLabelText(displayText(prompt));
    box.setTextValue(toQString(text));
    box.setMinimumWidth(widthForTitle(box, box.windowTitle()));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return toStdString(box.textValue());
}

std::optional<std::string> QtDesktop::chooseOpenFile(const FileDialogRequest& request)
{
    const auto paths = runFileDialog(m_owner, request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
    if (paths.empty())
        return std::nullopt;
    return paths.front();
}

std::vector<std::string> QtDesktop::chooseOpenFiles(const FileDialogRequest& request)
{
    return runFileDialog(m_owner, request, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles);
}

std::optional<std::string> QtDesktop::chooseSaveFile(const FileDialogRequest& request)
{
    const auto paths = runFileDialog(m_owner, request, QFileDialog::AcceptSave, QFileDialog::AnyFile);
    if (paths.empty())
        return std::nullopt;
    return paths.front();
}

std::optional<std::string> QtDesktop::chooseFolder(const std::string& caption, const std::string& initialFolder)
{
    const QString folder = QFileDialog::getExistingDirectory(m_owner, toQString(caption), toQString(initialFolder));
    if (folder.isEmpty())
        return std::nullopt;
    return toStdString(folder);
}

std::optional<std::uint32_t> QtDesktop::chooseColor(std::uint32_t initial)
{
    const QColor color = QColorDialog::getColor(QColor::fromRgb(static_cast<QRgb>(initial)), m_owner);
    if (!color.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(color.rgb() & 0xFFFFFFu);
}

void QtDesktop::beep()
{
    QApplication::beep();
}

bool QtDesktop::startProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingFolder)
{
    QStringList list;
    for (const std::string& argument : arguments)
        list << toQString(argument);
    return QProcess::startDetached(toQString(program), list, toQString(workingFolder));
}

bool QtDesktop::openDocument(const std::string& fileOrAddress)
{
    const QString text = toQString(fileOrAddress);
    const QUrl asUrl(text);
    // "https:", "mailto:" and the like are addresses; everything else,
    // a one-letter scheme (a Windows drive) included, is a file.
    const bool isAddress = asUrl.isValid() && asUrl.scheme().size() > 1;
    return QDesktopServices::openUrl(isAddress ? asUrl : QUrl::fromLocalFile(text));
}

}  // namespace doxel
