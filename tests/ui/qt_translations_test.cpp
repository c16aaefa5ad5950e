// Qt's own texts follow the program's language.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "ui/main/qt_translations.h"

namespace doxel {

class QtTranslationsTest : public QObject {
    Q_OBJECT

private:
    static QString cancel() { return QCoreApplication::translate("QPlatformTheme", "Cancel"); }

private slots:
    void init()
    {
        if (!QFile::exists(QtTranslations::installedFolder() + QStringLiteral("/qtbase_de.qm")))
            QSKIP("Qt's translations are not installed (Debian: qt6-translations-l10n)");
    }

    void replacesTheTextsOfTheLastLanguage()
    {
        const struct {
            const char* code;
            bool translated;
            QString cancel;
        } steps[] = {
            {"en", false, QStringLiteral("Cancel")},   {"de", true, QStringLiteral("Abbrechen")},
            {"de", true, QStringLiteral("Abbrechen")}, {"ru", true, QStringLiteral("Отмена")},
            {"fr", true, QStringLiteral("Annuler")},   {"es", true, QStringLiteral("Cancelar")},
            {"en", false, QStringLiteral("Cancel")},   {"ru", true, QStringLiteral("Отмена")},
        };
        QtTranslations translations;
        for (const auto& step : steps) {
            QCOMPARE(translations.use(step.code), step.translated);
            QCOMPARE(cancel(), step.cancel);
        }
    }

    void keepsQtsEnglishWhenTheFileIsMissing()
    {
        QTemporaryDir empty;
        QtTranslations translations(empty.path());
        QVERIFY(!translations.use("de"));
        QCOMPARE(cancel(), QStringLiteral("Cancel"));
        QVERIFY(!translations.use("xx"));
        QCOMPARE(cancel(), QStringLiteral("Cancel"));
    }

    void endsWithTheObject()
    {
        {
            QtTranslations translations;
            QVERIFY(translations.use("de"));
            QCOMPARE(cancel(), QStringLiteral("Abbrechen"));
        }
        QCOMPARE(cancel(), QStringLiteral("Cancel"));
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::QtTranslationsTest)
#include "qt_translations_test.moc"
