#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

class QWidget;

// Drives the program it is loaded into, through its windows, for one task
// named in PELVANE_DRIVE and reports on standard output, one line each:
//   "create:<file>"      answers the first-start language dialog, then makes
//                        a new SQLite database in <file> with File > Connect
//                        to Database > New, then opens Help > User Manual;
//   "certificate:<pdf>"  on the database the program opened, lists all assets,
//                        chooses the first, opens Tools > Create Certificates
//                        and prints its preview into <pdf>.
// Lines: "LANGUAGE <name>|<file>" for each entry of the language dialog,
// "MENU-LANGUAGE <name>|<file>" for each of the language menu, "MESSAGE
// <text>" for each message shown (and closed), "OPENED <file>" for each file
// the program asks the desktop to open, "PDF <file>", then "DONE"
// before the program is asked to quit. With PELVANE_DRIVE_SCREENSHOT the
// screen is saved there when the language dialog or the generator shows.
class WindowDriver : public QObject
{
    Q_OBJECT
public:
    WindowDriver();

private:
    enum class Task { None, Create, Certificate };

    void poll();
    bool answerMessages();
    void answerLanguageDialog(QWidget* dialog);
    void stepCreate();
    void stepCertificate();
    void printPreview(QWidget* generator);
    void finish();
    void next();
    void grabScreen();
    static QWidget* shown(const char* className);
    static void say(const QString& line);

    Task m_task = Task::None;
    QString m_target;
    QString m_screenshot;
    int m_step = 0;
    bool m_languageAnswered = false;
    bool m_messageSeen = false;
    bool m_finished = false;
    QElapsedTimer m_stepTime;
    QTimer m_timer;
    QTimer m_watchdog;
    QTemporaryDir m_opener;
};
