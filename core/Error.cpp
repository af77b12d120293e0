#include "core/Error.h"

#include "core/DialogErrorMessage.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace {

std::function<QWidget*()>& parentProvider()
{
    static std::function<QWidget*()> provider;
    return provider;
}

std::function<void()>& beforeFatalDialog()
{
    static std::function<void()> hook;
    return hook;
}

// Runs fn on the GUI thread and waits for it; dialogs must not be created
// anywhere else.
void onGuiThread(const std::function<void()>& fn)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(app, fn, Qt::BlockingQueuedConnection);
}

} // namespace

void Error::setDialogParentProvider(std::function<QWidget*()> provider)
{
    parentProvider() = std::move(provider);
}

void Error::setBeforeFatalDialogHook(std::function<void()> hook)
{
    beforeFatalDialog() = std::move(hook);
}

QWidget* Error::dialogParent()
{
    return parentProvider() ? parentProvider()() : nullptr;
}

QString Error::severityName(int severity)
{
    static const QString names[4] = {
        tr("Debug"), tr("Warning"), tr("Critical"), tr("Fatal"),
    };
    if (severity < 0 || severity > 3)
        return QString();
    return names[severity];
}

void Error::report(const QString& function, const QString& message, int severity, int code,
                   const char* file, int line)
{
    Q_UNUSED(code);
    if (severity == ErrorCritical || severity == ErrorFatal) {
        const QString text = QStringLiteral("%1 warning at %2 (line %3 of %4): %5")
                                 .arg(severityName(severity), function)
                                 .arg(line)
                                 .arg(QString::fromLocal8Bit(file), message);
        showDialog(text, severity);
        return;
    }
    onGuiThread([&]() {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
            return;
        }
        QMessageBox box(severity == ErrorWarning ? QMessageBox::Warning : QMessageBox::Information,
                        QString(), message, QMessageBox::Ok, dialogParent());
        box.exec();
    });
}

void Error::showDialog(const QString& text, int severity)
{
    if (severity == ErrorFatal && beforeFatalDialog())
        beforeFatalDialog()();
    onGuiThread([&]() {
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            DialogErrorMessage dialog(text, severity, dialogParent());
            dialog.exec();
        } else {
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        }
    });
    if (severity == ErrorFatal) {
        std::fflush(nullptr);
        std::_Exit(1);
    }
}
