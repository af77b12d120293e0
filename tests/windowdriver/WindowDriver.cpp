#include "WindowDriver.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>

namespace {
// Long enough for the slowest step (a sanitised build creating a database);
// the driver must never leave the program waiting for ever.
const int kGiveUpMs = 120000;
// A window that has just appeared is given this long to lay out and paint.
const int kSettleMs = 1500;
} // namespace

WindowDriver::WindowDriver()
{
    const QString drive = qEnvironmentVariable("PELVANE_DRIVE");
    const qsizetype colon = drive.indexOf(QLatin1Char(':'));
    const QString task = drive.left(colon);
    m_target = drive.mid(colon + 1);
    if (colon > 0 && task == QLatin1String("create"))
        m_task = Task::Create;
    else if (colon > 0 && task == QLatin1String("certificate"))
        m_task = Task::Certificate;
    m_screenshot = qEnvironmentVariable("PELVANE_DRIVE_SCREENSHOT");
    // What the program hands the desktop's opener is noted, not opened: a
    // stand-in found first on the path says it on the program's output.
    if (m_task != Task::None && m_opener.isValid()) {
        QFile opener(m_opener.filePath(QStringLiteral("xdg-open")));
        if (opener.open(QIODevice::WriteOnly)) {
            opener.write("#!/bin/sh\necho \"OPENED $1\"\n");
            opener.close();
            opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("PATH", QFile::encodeName(m_opener.path()) + ':' + qgetenv("PATH"));
        }
    }

    connect(&m_timer, &QTimer::timeout, this, &WindowDriver::poll);
    m_timer.start(100);
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        QStringList windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                windows << QString::fromLatin1(w->metaObject()->className());
        say(QStringLiteral("GAVE UP at step %1 with %2 shown").arg(m_step).arg(windows.join(QLatin1Char(' '))));
        std::_Exit(3);
    });
    m_watchdog.start(kGiveUpMs);
    m_stepTime.start();
}

void WindowDriver::say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QWidget* WindowDriver::shown(const char* className)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits(className))
            return w;
    return nullptr;
}

void WindowDriver::next()
{
    ++m_step;
    m_stepTime.restart();
    // For the test's log when a step never comes.
    say(QStringLiteral("STEP %1").arg(m_step));
}

void WindowDriver::grabScreen()
{
    if (m_screenshot.isEmpty() || !QGuiApplication::primaryScreen())
        return;
    if (QGuiApplication::primaryScreen()->grabWindow(0).save(m_screenshot, "PNG"))
        say(QStringLiteral("SCREENSHOT ") + m_screenshot);
    m_screenshot.clear();
}

void WindowDriver::poll()
{
    if (m_finished || m_task == Task::None)
        return;
    if (answerMessages())
        return;
    if (QWidget* language = shown("DialogLanguage")) {
        answerLanguageDialog(language);
        return;
    }
    if (m_task == Task::Create)
        stepCreate();
    else
        stepCertificate();
}

// Every message box and error dialog is written out and closed, so that the
// test reads what a user would have been told.
bool WindowDriver::answerMessages()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->property("pelvaneDriverAnswered").toBool())
            continue;
        QString text;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            text = box->text();
        } else if (w->inherits("DialogErrorMessage")) {
            for (auto* edit : w->findChildren<QPlainTextEdit*>())
                text += edit->toPlainText() + QLatin1Char(' ');
            for (auto* label : w->findChildren<QLabel*>())
                text += label->text() + QLatin1Char(' ');
        } else {
            continue;
        }
        say(QStringLiteral("MESSAGE ") + text.simplified());
        m_messageSeen = true;
        w->setProperty("pelvaneDriverAnswered", true);
        QTimer::singleShot(0, static_cast<QDialog*>(w), &QDialog::reject);
        return true;
    }
    return false;
}

void WindowDriver::answerLanguageDialog(QWidget* dialog)
{
    if (m_languageAnswered)
        return;
    if (!m_screenshot.isEmpty() && m_stepTime.elapsed() < kSettleMs)
        return;
    grabScreen();
    m_languageAnswered = true;
    if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("languageCombo")))
        for (int i = 0; i < combo->count(); ++i)
            say(QStringLiteral("LANGUAGE %1|%2").arg(combo->itemText(i), combo->itemData(i).toString()));
    QTimer::singleShot(0, static_cast<QDialog*>(dialog), &QDialog::accept);
    m_stepTime.restart();
}

void WindowDriver::stepCreate()
{
    QWidget* window = shown("MainWindow");
    QWidget* connection = shown("DialogConnection");
    switch (m_step) {
    case 0:
        if (connection) {
            next();
        } else if (window && !QApplication::activeModalWidget()) {
            if (auto* connect = window->findChild<QAction*>(QStringLiteral("actionDatabaseConnect"))) {
                QTimer::singleShot(0, connect, &QAction::trigger);
                next();
            }
        }
        break;
    case 1:
        if (connection) {
            if (auto* create = connection->findChild<QPushButton*>(QStringLiteral("createSQLiteBtn"))) {
                QTimer::singleShot(0, create, &QPushButton::click);
                next();
            }
        }
        break;
    case 2:
        // Typed as a user types it, once the dialog has settled in its folder.
        if (auto* files = qobject_cast<QFileDialog*>(shown("QFileDialog"))) {
            if (m_stepTime.elapsed() < 500)
                break;
            const QFileInfo target(m_target);
            files->setDirectory(target.absolutePath());
            if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(target.fileName());
            next();
        }
        break;
    case 3:
        if (auto* files = qobject_cast<QFileDialog*>(shown("QFileDialog"))) {
            if (m_stepTime.elapsed() < 300)
                break;
            QTimer::singleShot(0, files, &QDialog::accept);
        }
        next();
        break;
    case 4:
        if (shown("QFileDialog") || shown("QProgressDialog"))
            break;
        if (connection && m_messageSeen) {
            // The database was not made: the user gives up.
            QTimer::singleShot(0, static_cast<QDialog*>(connection), &QDialog::reject);
            next();
        } else if (!connection && !QApplication::activeModalWidget()) {
            next();
        }
        break;
    case 5:
        if (window && !QApplication::activeModalWidget()) {
            if (auto* manual = window->findChild<QAction*>(QStringLiteral("actionUserManual")))
                QTimer::singleShot(0, manual, &QAction::trigger);
            next();
        }
        break;
    default:
        // The opener has said what it was given once it is gone.
        if (!QApplication::activeModalWidget() && !qApp->findChild<QProcess*>())
            finish();
    }
}

void WindowDriver::stepCertificate()
{
    QWidget* window = shown("MainWindow");
    switch (m_step) {
    case 0:
        if (window && !QApplication::activeModalWidget()) {
            auto* tree = window->findChild<QTreeView*>(QStringLiteral("assetTreeView"));
            if (tree && tree->model() && tree->model()->rowCount() > 0) {
                // The first node is the database's: it lists every asset.
                tree->setCurrentIndex(tree->model()->index(0, 0));
                next();
            }
        }
        break;
    case 1: {
        auto* table = window ? window->findChild<QTableView*>(QStringLiteral("assetTableView")) : nullptr;
        if (table && table->model() && table->model()->rowCount() > 0) {
            table->selectRow(0);
            if (auto* certificates = window->findChild<QAction*>(QStringLiteral("actionGenerateCertificates"))) {
                QTimer::singleShot(0, certificates, &QAction::trigger);
                next();
            }
        }
        break;
    }
    case 2:
        if (QWidget* generator = shown("DialogCertificateGenerator")) {
            if (m_stepTime.elapsed() < kSettleMs)
                break;
            grabScreen();
            printPreview(generator);
            QTimer::singleShot(0, static_cast<QDialog*>(generator), &QDialog::reject);
            next();
        }
        break;
    default:
        if (!QApplication::activeModalWidget())
            finish();
    }
}

// The preview's own request to paint, sent to a PDF printer: the pages come
// out as the user sees them, pictures and all.
void WindowDriver::printPreview(QWidget* generator)
{
    auto* preview = generator->findChild<QPrintPreviewWidget*>();
    if (!preview)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_target);
    QMetaObject::invokeMethod(preview, "paintRequested", Qt::DirectConnection, Q_ARG(QPrinter*, &printer));
    say(QStringLiteral("PDF ") + m_target);
}

void WindowDriver::finish()
{
    m_finished = true;
    if (QWidget* window = shown("MainWindow")) {
        say(QStringLiteral("TITLE ") + window->windowTitle());
        for (QAction* action : window->findChildren<QAction*>())
            if (action->data().toString().endsWith(QLatin1String(".qm")))
                say(QStringLiteral("MENU-LANGUAGE %1|%2").arg(action->text(), action->data().toString()));
    }
    say(QStringLiteral("DONE"));
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}
