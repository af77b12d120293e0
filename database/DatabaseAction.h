#pragma once

#include <QCoreApplication>
#include <QSqlError>
#include <QString>
#include <functional>

class QSqlDriver;
class QWidget;

// What the user does with the database, one action at a time: a click on
// an asset, Apply, a tab, a window opened. A statement of it that fails for
// a cause outside this program (another program holds the file past the
// wait, a full disk, an I/O error, a server that refuses or times it out,
// a row that another workstation deleted) ends the action, not the
// program: its write transaction is rolled back, and the user is told what
// was not done and why, with what they typed still in the window.
//
// The failure travels from the statement to the action as an exception,
// and only where nothing but this program's own code and its signals lie
// between: at the event loop's level at which the action began. Where no
// action can end (a dialog's own loop, a view's paint, a worker), the user
// is told without being waited for, and the statement returns its failure,
// as one on a lost connection does.
class DatabaseAction
{
    Q_DECLARE_TR_FUNCTIONS(DatabaseAction)
public:
    DatabaseAction();
    ~DatabaseAction();
    DatabaseAction(const DatabaseAction&) = delete;
    DatabaseAction& operator=(const DatabaseAction&) = delete;

    // What ends an action: the reason, in a user's words.
    struct Stopped
    {
        QString reason;
    };

    // Runs work as an action; false when it was ended, why then holding
    // the reason.
    static bool attempt(const std::function<void()>& work, QString* why = nullptr);
    // The same, and an ended action is told: notDone is a sentence saying
    // what was not done.
    static bool run(QWidget* parent, const QString& notDone, const std::function<void()>& work);
    static void tell(QWidget* parent, const QString& notDone, const QString& why);
    // What follows a write that is stored (the list, the tree shown anew):
    // when it cannot be read now, the user is told that the window may
    // show less, and the write stays done.
    static void afterWrite(const std::function<void()>& work);

    // Ends the action under way for reason; where none can end here, the
    // user is told and the caller goes on.
    static void stop(const QString& reason);
    // Whether stop() ends an action here.
    static bool canStop();
    // While one lives on a thread, no action ends there: for what runs in
    // a destructor, which no exception may leave.
    class NoStop
    {
    public:
        NoStop();
        ~NoStop();
        NoStop(const NoStop&) = delete;
        NoStop& operator=(const NoStop&) = delete;
    };

    // Why the last write transaction of this thread stored nothing where
    // no action could end (see DatabaseTransaction::run): empty when it met
    // only other workstations' writes.
    static QString lastUnsaved();
    static void setLastUnsaved(const QString& reason);

    // Whether error, on driver's connection, has its cause outside this
    // program; the failure of a statement with such an error ends its
    // action.
    static bool isOutside(const QSqlError& error, const QSqlDriver* driver);
    // The reason of such a failure, in a user's words.
    static QString reasonOf(const QSqlError& error, const QSqlDriver* driver);
};
