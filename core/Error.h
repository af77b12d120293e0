#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>

class QWidget;

enum ErrorSeverity { ErrorDebug = 0, ErrorWarning = 1, ErrorCritical = 2, ErrorFatal = 3 };

// The one reporting path for failures. Critical and fatal reports open
// DialogErrorMessage; a fatal one ends the process with exit code 1 once the
// dialog closes. Reports from other threads are shown by the GUI thread while
// the reporting thread waits.
class Error
{
    Q_DECLARE_TR_FUNCTIONS(Error)
public:
    static void report(const QString& function, const QString& message, int severity, int code,
                       const char* file, int line);
    static void showDialog(const QString& text, int severity);
    static QString severityName(int severity);

    // The main window lives in a higher layer; it registers itself here so that
    // dialogs have a parent without core linking against it.
    static void setDialogParentProvider(std::function<QWidget*()> provider);
    static QWidget* dialogParent();

    // Registered by the database layer, which lives above this one: called
    // on the reporting thread before a fatal report's dialog opens, to end
    // that thread's writes so that no other workstation waits on a lock
    // while the dialog is read.
    static void setBeforeFatalDialogHook(std::function<void()> hook);
};
