#include "database/SqlQueryModel.h"

#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlQuery>

namespace {
// Short enough that the window still answers while a long list is read.
constexpr qint64 sliceMs = 2;
constexpr int rowsPerStep = 100;
} // namespace

SqlQueryModel::SqlQueryModel(QObject* parent) : QSqlQueryModel(parent)
{
    m_reader.setInterval(0);
    connect(&m_reader, &QTimer::timeout, this, &SqlQueryModel::readSlice);
}

SqlQueryModel::~SqlQueryModel() = default;

// Server back-ends hold no lock of a file for a statement left open.
void SqlQueryModel::queryChange()
{
    const QSqlDriver* driver = query().driver();
    m_readTo = rowCount();
    if (canFetchMore() && driver && driver->dbmsType() == QSqlDriver::SQLite)
        m_reader.start();
    else
        m_reader.stop();
}

void SqlQueryModel::readSlice()
{
    // A copy shares the model's result, and with it the rows it reads.
    QSqlQuery rows = query();
    QElapsedTimer slice;
    slice.start();
    while (slice.elapsed() < sliceMs) {
        m_readTo += rowsPerStep;
        // Past the last row the statement is done and lets go of the file.
        if (!rows.seek(m_readTo)) {
            m_reader.stop();
            return;
        }
    }
}
