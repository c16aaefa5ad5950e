// A bare Qt main window (a menu bar, a tree, a status line), shown and
// closed: the yardstick bench_window --startup measures the program's
// start-up against. Prints one line: milliseconds from the process start
// to the window shown, the resident set in MB, and whether the web engine
// is mapped (never, here).
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

#include "startup_probe.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Open..."));
    window.setCentralWidget(new QTreeView(&window));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(800, 600);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    doxel::bench::printStartupProbe();
    return 0;
}
