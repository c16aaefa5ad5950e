#pragma once

#include <QString>

#include <memory>
#include <string>
#include <string_view>

class QTranslator;

namespace doxel {

// Qt's own texts (the standard buttons of message boxes, the file dialogs,
// the context menus of edit fields) in the program's language, from the
// translations installed beside Qt. They are part of the application while
// the object lives.
class QtTranslations {
public:
    // `folder` holds Qt's "qtbase_<code>.qm" files.
    explicit QtTranslations(QString folder = installedFolder());
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Qt's texts for the language `code` ("de") replace those of the last
    // call. English, and a language whose file is missing, leave Qt's
    // built-in English texts. True when a translation is in use.
    bool use(std::string_view code);

    // Where this Qt looks for its translations.
    static QString installedFolder();

private:
    void removeTranslator();

    QString m_folder;
    std::string m_code = "en";
    std::unique_ptr<QTranslator> m_translator;
};

}  // namespace doxel
