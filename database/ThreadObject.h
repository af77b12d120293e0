#pragma once

#include <QMutex>
#include <QObject>
#include <QTimer>

// A cooperative worker: init() prepares the work and starts the idle timer,
// which then calls step() until it returns false or an abort is asked for.
class ThreadObject : public QObject
{
    Q_OBJECT
public:
    ThreadObject();
    ~ThreadObject() override;

    void setAbort();

signals:
    void abort();
    void done();
    void error(QString text, int severity);
    void updateProgress(float fraction);
    void setInfo(int what, QString text);

public slots:
    void onIdleTimeout();
    virtual bool init();
    virtual bool step();

protected:
    QTimer m_timer;

private:
    QMutex m_abortLock;
    bool m_abort = false;
};
