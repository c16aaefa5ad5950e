// The results window on its own, with a scripted compiler and stand-in help
// viewers: its controls and texts, what it shows after each way a run can
// end, its buttons, and a close request while the compile runs.
#include <QLayout>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>
#include <semaphore>
#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/errors.h"
#include "core/text_ids.h"
#include "platform/help_viewers.h"
#include "test_support.h"
#include "ui/compile/compile_form.h"
#include "ui/kit/icons.h"
#include "ui/kit/qt_text.h"
#include "ui/logic/string_table.h"

namespace doxel {
namespace {

// A compiler that reports what the test gives it.
class ScriptedCompiler final : public CompilerLibrary {
public:
    enum class Ending { Completes, CannotRun, Throws };

    bool available = true;
    Ending ending = Ending::Completes;
    std::vector<std::string> lines;
    CompileStatistics counts;
    std::function<void()> during;
    std::string writes;  // the help file a compile that completes writes
    int frees = 0;

    bool load() override
    {
        m_loaded = m_loaded || available;
        return m_loaded;
    }
    bool isLoaded() const override { return m_loaded; }
    std::string problem() const override { return m_loaded ? std::string() : "No compiler here."; }
    void init() override {}
    bool compile(const std::string&, const CompilerLogCallback& log, const CompilerProgressCallback& progress,
                 CompileStatistics& statistics) override
    {
        progress("Compiling guide.hhp");
        for (const std::string& line : lines)
            log(line);
        if (during)
            during();
        progress("Writing guide.chm");
        if (ending == Ending::Throws)
            throw IoError("Cannot read guide.hhp");
        statistics = counts;
        if (ending == Ending::Completes && !writes.empty())
            test::writeFile(writes, "compiled");
        return ending == Ending::Completes;
    }
    void free() override
    {
        ++frees;
        m_loaded = false;
    }

private:
    bool m_loaded = false;
};

// Viewers that are `sleep` processes, recording the files they were given.
// Spawned rather than forked, so that the test's signal handlers never run
// in a child.
HelpViewers::Starter sleepingViewer(std::vector<std::string>& started)
{
    return [&started](const std::string& file, std::string&) -> pid_t {
        started.push_back(file);
        char program[] = "sleep";
        char seconds[] = "30";
        char* arguments[] = {program, seconds, nullptr};
        pid_t pid = -1;
        return ::posix_spawnp(&pid, program, nullptr, nullptr, arguments, environ) == 0 ? pid : -1;
    };
}

struct FormFixture {
    FormFixture() : viewers(sleepingViewer(startedViewers))
    {
        test::writeFile(dir.file("guide.hhp"), "[OPTIONS]\r\nCompiled file=guide.chm\r\nFull-text search=Yes\r\n");
        compiler.writes = dir.file("guide.chm");
    }

    std::unique_ptr<TCompileForm> create()
    {
        return std::make_unique<TCompileForm>(
            CompileFormServices{settings, compiler, viewers, [this] { ++logViews; }},
            CompileFiles{dir.file("guide.hhp"), dir.file("guide.hhc"), dir.file("guide.hhk"), dir.file("guide.chm")});
    }

    // Shows the window and waits until its compile has run.
    static bool run(TCompileForm& form)
    {
        QSignalSpy finished(&form, &TCompileForm::runFinished);
        form.show();
        return finished.wait(5000);
    }

    test::TempDir dir;
    MemorySettingsStore settings;
    ScriptedCompiler compiler;
    std::vector<std::string> startedViewers;
    HelpViewers viewers;
    int logViews = 0;
};

QColor memoColor(const TCompileForm& form)
{
    return form.memo()->palette().color(QPalette::Active, QPalette::Text);
}

// The compile thread held in the middle of its run until the test lets it
// go on.
struct HeldRun {
    std::binary_semaphore reached{0};
    std::binary_semaphore released{0};

    explicit HeldRun(FormFixture& f)
    {
        f.compiler.during = [this] {
            reached.release();
            released.acquire();
        };
    }
    bool waitUntilReached()
    {
        return QTest::qWaitFor([this] { return reached.try_acquire(); }, 5000);
    }
    void letGo() { released.release(); }
};

QStringList summaryTexts(const TCompileForm& form)
{
    QStringList texts;
    for (int row = 0; row < form.infoView()->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = form.infoView()->topLevelItem(row);
        texts << item->text(0) + QLatin1Char('=') + item->text(1);
    }
    return texts;
}

QImage rendered(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

}  // namespace

class CompileFormTest : public QObject {
    Q_OBJECT

private slots:
    void carriesTheControlsAndTheTextsOfTheLanguage()
    {
        FormFixture f;
        f.settings.write("Language", "1000");
        auto form = f.create();

        for (const char* name : {"Status", "PageControl", "CompMsg", "Memo", "Summary", "InfoView", "Panel1",
                                 "LaunchCHMButton", "LaunchLogButton", "CloseButton"})
            QVERIFY2(form->findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, name);
        QCOMPARE(form->windowTitle(), localText(f.settings, 106));
        QCOMPARE(form->pageControl()->tabText(0), localText(f.settings, 104));
        QCOMPARE(form->pageControl()->tabText(1), localText(f.settings, 105));
        QCOMPARE(form->launchCHMButton()->toolTip(), localText(f.settings, 101));
        QCOMPARE(form->launchLogButton()->toolTip(), localText(f.settings, 102));
        QCOMPARE(form->closeButton()->toolTip(), localText(f.settings, 103));
        QCOMPARE(form->pageControl()->tabText(1), QStringLiteral("Zusammenfassung"));

        QCOMPARE(form->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!form->status()->isSizeGripEnabled());
        QVERIFY(form->memo()->isReadOnly());
        QCOMPARE(form->memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memoColor(*form), QColor(0x00, 0x80, 0x80));
        QVERIFY(form->infoView()->isHeaderHidden());
        QCOMPARE(form->infoView()->columnCount(), 2);
        QCOMPARE(form->infoView()->columnWidth(1), 100);
        // At least the form's first client area, wider where German captions
        // need it, and never cutting a tab caption.
        QVERIFY(form->width() >= 284 && form->height() >= 186);
        form->layout()->activate();
        QVERIFY(form->pageControl()->tabBar()->sizeHint().width() <= form->pageControl()->width());
        QVERIFY(form->infoView()->columnWidth(0) >= 100);
    }

    void showsHowTheRunEnded_data()
    {
        QTest::addColumn<bool>("available");
        QTest::addColumn<int>("ending");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("memo");  // "230" stands for the failure text
        QTest::addColumn<bool>("failed");
        QTest::addColumn<QStringList>("summary");
        QTest::addColumn<int>("frees");

        using Ending = ScriptedCompiler::Ending;
        const QStringList counts = {"Warnings=2",     "Errors=1",         "Topics=14",
                                    "Local Links=29", "Internet Links=1", "Graphics=4"};
        const QStringList zeros = {"Warnings=0",    "Errors=0",         "Topics=0",
                                   "Local Links=0", "Internet Links=0", "Graphics=0"};
        const QStringList lines = {"Note: Index items:13", "Warning: Broken link in faq.htm"};
        QTest::newRow("compiled") << true << int(Ending::Completes) << lines << lines << false << counts << 1;
        QTest::newRow("compiled silently")
            << true << int(Ending::Completes) << QStringList() << QStringList() << false << zeros << 1;
        QTest::newRow("no compiler") << false << int(Ending::Completes) << lines
                                     << QStringList{"No compiler here.", "230"} << true << QStringList() << 0;
        QTest::newRow("compiler died") << true << int(Ending::CannotRun) << lines
                                       << QStringList{lines[0], lines[1], "230"} << true << QStringList() << 0;
        QTest::newRow("compile threw") << true << int(Ending::Throws) << lines
                                       << QStringList{lines[0], lines[1], "Cannot read guide.hhp", "230"} << true
                                       << QStringList() << 0;
    }

    void showsHowTheRunEnded()
    {
        QFETCH(bool, available);
        QFETCH(int, ending);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, memo);
        QFETCH(bool, failed);
        QFETCH(QStringList, summary);
        QFETCH(int, frees);

        FormFixture f;
        // The summary labels stay English in every language.
        f.settings.write("Language", "4000");
        f.compiler.available = available;
        f.compiler.ending = static_cast<ScriptedCompiler::Ending>(ending);
        for (const QString& line : lines)
            f.compiler.lines.push_back(toStdString(line));
        // The second warning is the one among the compiler's lines.
        f.compiler.counts = {1, 1, 14, 4, 29, 1};
        if (lines.isEmpty())
            f.compiler.counts = {};
        auto form = f.create();
        QVERIFY(FormFixture::run(*form));

        QString expected = memo.join(QLatin1Char('\n'));
        expected.replace(QStringLiteral("230"), localText(f.settings, 230));
        QCOMPARE(form->memo()->toPlainText(), expected);
        QCOMPARE(memoColor(*form), failed ? QColor(0xff, 0, 0) : QColor(0x00, 0x80, 0x80));
        QCOMPARE(summaryTexts(*form), summary);
        QCOMPARE(form->pageControl()->currentWidget()->objectName(),
                 failed ? QStringLiteral("CompMsg") : QStringLiteral("Summary"));
        if (!failed)
            QCOMPARE(form->status()->currentMessage(), QStringLiteral("OK."));
        QCOMPARE(form->launchCHMButton()->isEnabled(), !failed);
        QCOMPARE(form->launchLogButton()->isEnabled(), !failed);
        QVERIFY(form->closeButton()->isEnabled());
        QCOMPARE(f.compiler.frees, frees);
        QCOMPARE(form->result().succeeded, !failed);

        form->closeButton()->click();
        QVERIFY(!form->isVisible());
    }

    void aRunThatWritesNoHelpFileLooksLikeAFailure()
    {
        // Stopped by the checks (a missing page), or the compiler wrote
        // nothing: an old help file beside the project must not be offered.
        for (const bool missingPage : {true, false}) {
            FormFixture f;
            f.settings.write("LaunchHelp", "1");
            test::writeFile(f.dir.file("guide.chm"), "ITSF an old help file");
            if (missingPage)
                test::writeFile(f.dir.file("guide.hhp"),
                                "[OPTIONS]\r\nCompiled file=guide.chm\r\n\r\n[FILES]\r\ngone.htm\r\n");
            else
                f.compiler.writes.clear();
            auto form = f.create();
            QVERIFY(FormFixture::run(*form));
            const QString memo = form->memo()->toPlainText();
            QVERIFY2(memo.endsWith(QString::fromUtf8(missingPage ? kStoppedByChecksText : kNothingWrittenText)),
                     qPrintable(memo));
            if (missingPage)
                QVERIFY(memo.startsWith(QStringLiteral("Error: Topic file gone.htm does not exist")));
            QCOMPARE(memoColor(*form), QColor(0xff, 0, 0));
            QCOMPARE(form->pageControl()->currentWidget()->objectName(), QStringLiteral("CompMsg"));
            QVERIFY(!form->launchCHMButton()->isEnabled());
            // The counts and the log are there all the same.
            QVERIFY(form->launchLogButton()->isEnabled());
            QCOMPARE(summaryTexts(*form).size(), 6);
            QVERIFY(form->status()->currentMessage().startsWith(QStringLiteral("The help file was not compiled")));
            QCOMPARE(form->result().outcome,
                     missingPage ? CompileOutcome::StoppedByChecks : CompileOutcome::NothingWritten);
            QVERIFY(f.startedViewers.empty());
        }
    }

    void summaryRowsShowTheirOwnPictures()
    {
        FormFixture f;
        auto form = f.create();
        QVERIFY(FormFixture::run(*form));
        const int pictures[] = {2, 1, 5, 3, 4, 0};
        QCOMPARE(form->infoView()->topLevelItemCount(), 6);
        for (int row = 0; row < 6; ++row) {
            const QIcon expected =
                resourceIcon(QStringLiteral("summary/%1.svg").arg(pictures[row]).toLatin1().constData());
            QCOMPARE(rendered(form->infoView()->topLevelItem(row)->icon(0)), rendered(expected));
        }
    }

    void buttonsOpenTheHelpFileAndTheLog()
    {
        FormFixture f;
        f.settings.write("LaunchHelp", "1");
        f.settings.write("ViewLog", "1");
        auto form = f.create();
        QVERIFY(FormFixture::run(*form));
        // LaunchHelp and ViewLog acted during the run.
        QCOMPARE(f.startedViewers, std::vector<std::string>{f.dir.file("guide.chm")});
        QCOMPARE(f.logViews, 1);

        form->launchCHMButton()->click();
        form->launchLogButton()->click();
        QCOMPARE(f.startedViewers.size(), std::size_t{2});
        QCOMPARE(f.logViews, 2);
        f.viewers.closeAll();
    }

    void aViewerThatCannotStartIsReported()
    {
        test::TempDir dir;
        MemorySettingsStore settings;
        settings.write("LaunchHelp", "1");
        ScriptedCompiler compiler;
        HelpViewers none([](const std::string&, std::string& problem) -> pid_t {
            problem = "No application is set up to open application/vnd.ms-htmlhelp";
            return -1;
        });
        test::writeFile(dir.file("guide.hhp"), "[OPTIONS]\r\nFull-text search=Yes\r\n");
        compiler.writes = dir.file("guide.chm");
        TCompileForm form({settings, compiler, none, {}}, {dir.file("guide.hhp"), {}, {}, dir.file("guide.chm")});
        QVERIFY(FormFixture::run(form));
        QCOMPARE(form.memo()->toPlainText(),
                 QStringLiteral("No application is set up to open application/vnd.ms-htmlhelp"));
        form.launchCHMButton()->click();
        QCOMPARE(form.status()->currentMessage(),
                 QStringLiteral("No application is set up to open application/vnd.ms-htmlhelp"));
    }

    void theNoteOnSearchIsInTheProgramsLanguage()
    {
        FormFixture f;
        f.settings.write("Language", "1000");
        test::writeFile(f.dir.file("guide.hhp"), "[OPTIONS]\r\nCompiled file=guide.chm\r\n");
        auto form = f.create();
        QVERIFY(FormFixture::run(*form));
        QVERIFY2(form->memo()->toPlainText().endsWith(localText(f.settings, text_id::kSearchOffNote)),
                 qPrintable(form->memo()->toPlainText()));
    }

    void theStopButtonStopsTheRunAndKeepsTheWindowOpen()
    {
        FormFixture f;
        auto form = f.create();
        HeldRun held(f);
        QSignalSpy finished(form.get(), &TCompileForm::runFinished);
        form->show();
        QVERIFY(held.waitUntilReached());
        QVERIFY(form->stopButton()->isEnabled());
        form->stopButton()->click();
        held.letGo();
        QVERIFY(finished.wait(5000));
        QVERIFY(form->isVisible());
        QVERIFY(!form->stopButton()->isEnabled());
        QCOMPARE(form->result().outcome, CompileOutcome::Stopped);
        QVERIFY(form->memo()->toPlainText().endsWith(QString::fromUtf8(kStoppedText)));
        QCOMPARE(form->status()->currentMessage(), QString::fromUtf8(kStoppedText));
        QVERIFY(!std::filesystem::exists(f.dir.file("guide.chm")));
        QVERIFY(!std::filesystem::exists(f.dir.file("guide.hhp")));
    }

    void aCloseRequestStopsTheRunAndClosesWhenItEnds()
    {
        FormFixture f;
        auto form = f.create();
        // The compile goes on once the window has been asked to close in
        // every way.
        HeldRun held(f);
        QSignalSpy finished(form.get(), &TCompileForm::runFinished);
        form->show();
        QVERIFY(held.waitUntilReached());
        form->closeButton()->click();
        form->close();
        form->reject();
        const bool visibleAfterRequests = form->isVisible() && form->isCompiling();
        held.letGo();
        QVERIFY(finished.wait(5000));
        QVERIFY(visibleAfterRequests);
        QVERIFY(!form->isVisible());
        QCOMPARE(f.compiler.frees, 1);
        QCOMPARE(form->result().outcome, CompileOutcome::Stopped);
        QVERIFY(!std::filesystem::exists(f.dir.file("guide.chm")));
    }

    void staysResponsiveWhileTheCompileRuns()
    {
        FormFixture f;
        auto form = f.create();
        HeldRun held(f);
        QSignalSpy finished(form.get(), &TCompileForm::runFinished);
        form->show();
        QVERIFY(held.waitUntilReached());
        // The window handles its events while the compiler is busy: the
        // lines reported so far are shown, and a page change is carried out.
        QVERIFY(QTest::qWaitFor([&form] { return form->status()->currentMessage().contains("Compiling"); }, 5000));
        form->pageControl()->setCurrentIndex(1);
        QCOMPARE(form->pageControl()->currentIndex(), 1);
        QVERIFY(form->isCompiling());
        held.letGo();
        QVERIFY(finished.wait(5000));
        QVERIFY(!form->isCompiling());
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::CompileFormTest)
#include "compile_form_test.moc"
