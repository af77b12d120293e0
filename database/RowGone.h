#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

// The row that an editor or an action writes was deleted by another
// workstation since it was read: with several workstations an everyday
// event, not a fault. Nothing is written, and the user is told what and why.
class RowGone
{
    Q_DECLARE_TR_FUNCTIONS(RowGone)
public:
    // Whether table still holds the row of id. Asked inside the write's
    // transaction, whose lock keeps the answer true until the commit; an
    // UPDATE's count of rows changed would not do, since MySQL counts only
    // the rows whose values changed.
    static bool stored(const char* table, int id);
    // For an editor's Apply: what was gone (a whole sentence's subject, such
    // as "The asset Pump 1"), and that its typed values are still there.
    static void tell(QWidget* parent, const QString& what);
};
