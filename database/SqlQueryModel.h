#pragma once

#include <QSqlQueryModel>
#include <QTimer>

// A query model whose statement is read to its end soon after it is set, a
// slice at a time while the event loop has nothing more pressing, instead
// of when the view scrolls down to the rows. On SQLite a statement with
// rows still unread holds the file's shared lock: a list longer than the
// first screen would keep every other program's commit waiting for as long
// as the window stays open. The rows read wait in the result, and the view
// is given them as it asks for them, as before.
class SqlQueryModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit SqlQueryModel(QObject* parent = nullptr);
    ~SqlQueryModel() override;

protected:
    void queryChange() override;

private:
    void readSlice();

    QTimer m_reader;
    int m_readTo = 0;
};
