#pragma once

#include <QCoreApplication>
#include <QSqlError>
#include <functional>

class QSqlDriver;

// A server that went away under the current database: not a fault of the
// installation, so the program tells the user what happened and what was not
// saved, and goes on without a database instead of ending. Every other
// failed statement stays fatal.
class ConnectionLoss
{
    Q_DECLARE_TR_FUNCTIONS(ConnectionLoss)
public:
    // Whether error means the connection itself is gone (closed, reset,
    // timed out), as the back-end of type reports it.
    static bool isLost(const QSqlError& error, int type);

    // Called for a failed statement on driver's connection (null: the
    // current database's). True when the failure belongs to a lost
    // connection of the current database: the first such failure is told
    // to the user and the hook is called, later ones are only logged. False
    // for every other failure, which the caller reports as before.
    static bool handle(const QSqlError& error, const QSqlDriver* driver);

    // Whether the current database's connection has been lost.
    static bool happened();

    // The message for a lost connection: where to, why, what the steps of
    // a write in steps saved, what may not have been saved and what was not
    // (one line each), then how to go on.
    static QString message(const QString& server, const QString& reason, const QStringList& notSaved,
                           const QStringList& maybeSaved = {}, const QStringList& done = {});

    // While one is alive on a thread, what runs there sends a commit on
    // driver's connection: a connection lost before its answer may have
    // taken a stored transaction with it, and the write being made then is
    // told as perhaps saved. A connection the server's side has closed
    // already takes nothing to the server, and counts for nothing.
    class CommitSent
    {
    public:
        explicit CommitSent(const QSqlDriver* driver);
        ~CommitSent();
        CommitSent(const CommitSent&) = delete;
        CommitSent& operator=(const CommitSent&) = delete;

    private:
        bool m_counted;
    };

    // Registered by the main window, which lives in a higher layer: called on
    // the GUI thread once a loss has been told, to close the database when
    // the action that met it has ended.
    static void setLostHook(std::function<void()> hook);
};
