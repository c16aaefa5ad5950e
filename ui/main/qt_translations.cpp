#include "ui/main/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <utility>

namespace doxel {

QtTranslations::QtTranslations(QString folder) : m_folder(std::move(folder))
{
}

QtTranslations::~QtTranslations()
{
    removeTranslator();
}

QString QtTranslations::installedFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool QtTranslations::use(std::string_view code)
{
    if (code == m_code)
        return m_translator != nullptr;
    removeTranslator();
    m_code = code;
    if (code == "en")
        return false;
    auto translator = std::make_unique<QTranslator>();
    const QString name =
        QStringLiteral("qtbase_") + QString::fromUtf8(code.data(), static_cast<qsizetype>(code.size()));
    if (!translator->load(name, m_folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    return true;
}

void QtTranslations::removeTranslator()
{
    if (m_translator == nullptr)
        return;
    QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
}

}  // namespace doxel
