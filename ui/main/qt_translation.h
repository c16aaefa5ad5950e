#pragma once

#include <QTranslator>

namespace doxel {

// Qt's own texts (the Yes, No, Cancel and OK buttons, the file dialogs) in
// the program's language, from the translations the system installs for
// Qt (Debian: qt6-translations-l10n).
class QtTranslation {
public:
    QtTranslation() = default;
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;
    ~QtTranslation();

    // Switches to `code` ("de"); English, or a language the system has no
    // translation for, leaves Qt's texts as they are built in. True when a
    // translation is in use.
    bool use(const char* code);

private:
    QTranslator* m_translator = nullptr;
};

}  // namespace doxel
