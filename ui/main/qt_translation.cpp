#include "ui/main/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace doxel {

QtTranslation::~QtTranslation()
{
    delete m_translator;
}

bool QtTranslation::use(const char* code)
{
    delete m_translator;  // uninstalls itself
    m_translator = nullptr;
    const QString language = QString::fromLatin1(code);
    if (language == QLatin1String("en"))
        return false;
    auto* translator = new QTranslator;
    if (!translator->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    m_translator = translator;
    return true;
}

}  // namespace doxel
