#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

// Watches for modal dialogs and message boxes while it lives, records what
// each showed and closes it, so that no test waits on a window. Handlers
// queued with answerNext() decide how the next dialogs are answered; without
// one a message box gets its escape (or default) button and other dialogs
// are rejected, DialogErrorMessage is closed. Progress dialogs are left alone.
class DialogAnswerer : public QObject
{
    Q_OBJECT
public:
    struct Seen
    {
        QString className;
        QString objectName;
        QString title;
        QString text;         // message box text, or the error dialog's report
        QString informative;  // explanation shown beside the text, if any
        int icon = 0;         // QMessageBox::Icon for message boxes
        bool duringWrite = false; // a transaction was open on the current database
    };
    using Handler = std::function<void(QWidget* dialog)>;

    explicit DialogAnswerer(QObject* parent = nullptr);
    ~DialogAnswerer() override;

    void answerNext(Handler handler);
    // Leaves each dialog alone for this long before answering it. The test
    // main keeps one answerer with a long grace as a safety net, so that a
    // dialog nobody expected fails loudly instead of hanging the run.
    void setGrace(int ms) { m_graceMs = ms; }
    // Convenience: press the button whose text is buttonText on the next message box.
    void pressNext(const QString& buttonText);

    const QList<Seen>& seen() const { return m_seen; }
    void clear() { m_seen.clear(); }
    int count() const { return int(m_seen.size()); }
    Seen last() const { return m_seen.isEmpty() ? Seen() : m_seen.last(); }

    // Processes events until n dialogs have been seen or timeoutMs passed.
    bool waitForCount(int n, int timeoutMs = 5000);

    static Seen describe(QWidget* dialog);

    // Puts path in a file dialog's name field, as a user types it. The
    // dialog's own selectFile() leaves the field alone once it has the focus,
    // which under load it can have before the answer comes.
    static void enterFileName(QWidget* fileDialog, const QString& path);

private:
    void poll();

    QTimer m_timer;
    QList<Handler> m_handlers;
    QList<Seen> m_seen;
    QList<QWidget*> m_handled;
    // Guarded: a later dialog may be made at the address of one that is
    // gone, and must not inherit the time that one has waited.
    QPointer<QWidget> m_waitingFor;
    qint64 m_firstSeenMs = 0;
    int m_graceMs = 0;
};
