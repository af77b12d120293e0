#pragma once

#include <QString>
#include <QStringList>

// Names, for as long as it lives, what is being written to the database in
// words a user knows ("the changes to asset X"), so that a lost connection
// can say what was not saved. Scopes nest across threads; each is one line
// of the message, innermost (the most precise) first.
class PendingWrite
{
public:
    explicit PendingWrite(const QString& description);
    ~PendingWrite();
    PendingWrite(const PendingWrite&) = delete;
    PendingWrite& operator=(const PendingWrite&) = delete;

    // Says more precisely what is being written now.
    void describe(const QString& description);
    // For a write in steps, each stored whole: what is still to be written,
    // and what the steps stored so far.
    void describe(const QString& description, const QString& done);

    static QStringList all();
    // What the steps of the writes under way have stored.
    static QStringList done();
    // Whether any such scope is alive, on any thread.
    static bool active();

private:
    quint64 m_id;
};
