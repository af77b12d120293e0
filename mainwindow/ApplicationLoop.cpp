#include "mainwindow/ApplicationLoop.h"

#include "mainwindow/MainWindow.h"
#include "ux/TsqTestElementDetails.h"

#include <QApplication>
#include <QPixmap>
#include <QSplashScreen>
#include <memory>

int runApplicationLoop(const std::function<void(MainWindow*)>& windowShown)
{
    int windows = 0;
    bool restart = false;
    do {
        auto splash = std::make_unique<QSplashScreen>(QPixmap(QStringLiteral(":/images/images/splash.jpg")));
        QCoreApplication::processEvents();
        splash->show();
        QCoreApplication::processEvents();

        auto window = std::make_unique<MainWindow>();
        ++windows;
        window->show();
        splash->finish(window.get());
        if (windowShown)
            windowShown(window.get());

        QApplication::exec();

        restart = window->restartRequested();
        window.reset();
        // The next window may speak another language: its element names too.
        Ux::TsqTestElementDetails::release();
        splash.reset();
    } while (restart);
    return windows;
}
