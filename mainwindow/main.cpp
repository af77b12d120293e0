#include "core/MessageHandler.h"
#include "core/Translator.h"
#include "mainwindow/ApplicationLoop.h"

#include <QApplication>
#include <QDebug>
#include <exception>

int main(int argc, char** argv)
{
    try {
        installMessageHandler();
        QApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Tavisk"));
        QCoreApplication::setOrganizationDomain(QStringLiteral("tavisk.com"));
        QCoreApplication::setApplicationName(QStringLiteral("Pelvane V2"));
        QCoreApplication::installTranslator(translator());
        QCoreApplication::processEvents();

        runApplicationLoop();
    } catch (const std::exception&) {
        qDebug() << "Caught std::exception!";
    } catch (...) {
        qDebug() << "Caught unknown excpetion!";
    }
    return 0;
}
