#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// Collects the debug output of a scope, so that a test can assert both the
// presence and the absence of a line.
class MessageCapture
{
public:
    MessageCapture() { m_previous = qInstallMessageHandler(&MessageCapture::handler); current() = this; }
    ~MessageCapture()
    {
        qInstallMessageHandler(m_previous);
        current() = nullptr;
    }
    const QList<QString>& lines() const { return m_lines; }
    int count(const QString& text) const { return int(m_lines.count(text)); }
    void clear() { m_lines.clear(); }

private:
    static MessageCapture*& current()
    {
        static MessageCapture* capture = nullptr;
        return capture;
    }
    static void handler(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        if (current())
            current()->m_lines.append(text);
    }
    QtMessageHandler m_previous = nullptr;
    QList<QString> m_lines;
};
