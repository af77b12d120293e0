#include "database/DialogConnection.h"

#include "core/AppPaths.h"
#include "core/Error.h"
#include "database/ConnectionSettings.h"
#include "database/MsSqlDatabase.h"
#include "database/MySqlDatabase.h"
#include "database/SqliteDatabase.h"

#include "ui_DialogConnection.h"

#include <QCompleter>
#include <QDataStream>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMetaMethod>
#include <QSettings>

const QString DialogConnection::settingsKey = QStringLiteral("win/DialogConnection");

DialogConnection::DialogConnection(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogConnection>())
{
    ui->setupUi(this);

    // Connected before the restore, so that a restored integrated-security
    // state already disables the login fields.
    connect(ui->createSQLiteBtn, &QPushButton::pressed, this, &DialogConnection::createSQLiteDatabase);
    connect(ui->openSQLiteBtn, &QPushButton::pressed, this, &DialogConnection::openSQLiteDatabase);
    connect(ui->msSqlConnectBtn, &QPushButton::pressed, this, &DialogConnection::msSqlConnect);
    connect(ui->mySqlConnectBtn, &QPushButton::pressed, this, &DialogConnection::mySqlConnect);
    connect(ui->useNtSecurity, &QCheckBox::stateChanged, this, &DialogConnection::useNtSecurityStateChanged);
    connect(ui->msPopulateDbBtn, &QPushButton::pressed, this, &DialogConnection::populateMsDatabases);
    connect(ui->myPopulateDbBtn, &QPushButton::pressed, this, &DialogConnection::populateMyDatabases);

    const QByteArray blob = QSettings().value(settingsKey).toByteArray();
    if (!blob.isEmpty()) {
        QDataStream in(blob);
        in.setVersion(QDataStream::Qt_4_6);
        qint32 tab = 0, ntSecurity = 0, msCreate = 0, myCreate = 0;
        in >> tab >> ntSecurity >> msCreate >> myCreate;
        ui->tabWidget->setCurrentIndex(tab);
        ui->useNtSecurity->setCheckState(Qt::CheckState(ntSecurity));
        // Creating a database is never offered again by default: both boxes start unticked.
        QComboBox* const boxes[] = {ui->msHostName, ui->msDatabaseName, ui->msUserName,
                                    ui->myHostName, ui->myDatabaseName, ui->myUserName};
        for (QComboBox* box : boxes)
            readComboHistory(in, box);
        for (QComboBox* box : boxes) {
            QString text;
            in >> text;
            box->setEditText(text);
        }
        in >> m_sqlitePath;
    }
    if (m_sqlitePath.isEmpty()) {
        m_sqlitePath = QStringLiteral("%1/Databases").arg(dataFolder());
        // The file dialogs start elsewhere when their folder is missing.
        QDir().mkpath(m_sqlitePath);
    }
}

DialogConnection::~DialogConnection() = default;

void DialogConnection::writeComboHistory(const QComboBox* box, QDataStream& out)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries.append(box->itemText(i));
    if (!entries.contains(box->currentText()))
        entries.append(box->currentText());
    out << entries;
}

void DialogConnection::readComboHistory(QDataStream& in, QComboBox* box)
{
    QStringList entries;
    in >> entries;
    box->setCompleter(new QCompleter(entries, this));
    box->addItems(entries);
}

void DialogConnection::accept()
{
    QByteArray blob;
    {
        QDataStream out(&blob, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_4_6);
        out << qint32(ui->tabWidget->currentIndex()) << qint32(ui->useNtSecurity->checkState())
            << qint32(ui->msCreateNewDb->checkState()) << qint32(ui->myCreateNewDb->checkState());
        const QComboBox* const boxes[] = {ui->msHostName, ui->msDatabaseName, ui->msUserName,
                                          ui->myHostName, ui->myDatabaseName, ui->myUserName};
        for (const QComboBox* box : boxes)
            writeComboHistory(box, out);
        for (const QComboBox* box : boxes)
            out << box->currentText();
        out << m_sqlitePath;
    }
    QSettings().setValue(settingsKey, blob);
    QDialog::accept();
}

void DialogConnection::finish(Database* db, int result)
{
    if (result != 0) {
        delete db;
        return;
    }
    if (isSignalConnected(QMetaMethod::fromSignal(&DialogConnection::databaseOpened)))
        emit databaseOpened(db);
    else
        Database::setInstance(db);
    accept();
}

// The file name for a new database. A name typed without a suffix gets
// ".db" before the dialog checks for an existing file, so that "Open",
// which lists *.db only, finds it again.
static QString askNewDatabasePath(QWidget* parent, const QString& start)
{
    QFileDialog dialog(parent,
                       QCoreApplication::translate("MainWindow", "Save SQLite Database",
                                                   "Title in save file dialog when creating a new local database"),
                       start,
                       QCoreApplication::translate("MainWindow", "SQLite Database (*.db)",
                                                   "The types of files to show when creating a new local database"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("db"));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

void DialogConnection::createSQLiteDatabase()
{
    const QString path = askNewDatabasePath(this, m_sqlitePath);
    if (path.isEmpty())
        return;
    m_sqlitePath = path;
    auto* db = new SqliteDatabase;
    finish(db, db->create(path));
}

void DialogConnection::openSQLiteDatabase()
{
    const QString path = QFileDialog::getOpenFileName(
        this,
        QCoreApplication::translate("MainWindow", "Open SQLite Database",
                                    "Title in open file dialog when opening a new local database"),
        m_sqlitePath,
        QCoreApplication::translate("MainWindow", "SQLite Database (*.db)",
                                    "The types of files to show when opening a new local database"));
    if (path.isEmpty())
        return;
    m_sqlitePath = path;
    auto* db = new SqliteDatabase;
    int result = db->open(path, false);
    // Any file opens; one without our tables would end the program at its
    // first query, so it is checked here as at start-up. Choosing the wrong
    // file is no fault of the program: the user is told just that.
    if (result == 0 && !db->checkSchema()) {
        QMessageBox box(QMessageBox::Warning, QString(),
                        tr("The file \"%1\" is not a Pelvane database. It was not opened, and nothing was "
                           "changed.",
                           "Shown when the file chosen to open holds no Pelvane database. %1 is the file")
                            .arg(QDir::toNativeSeparators(path)),
                        QMessageBox::Ok, this);
        box.exec();
        result = 1;
    }
    finish(db, result);
}

// User name and password go whatever the integrated-security box says; the
// back-end leaves them out when it logs in with the user's own account.
static ConnectionSettings settingsFrom(const QComboBox* host, const QComboBox* name, const QComboBox* user,
                                       const QLineEdit* password, const QCheckBox* create)
{
    ConnectionSettings settings;
    settings.host = host->currentText();
    settings.databaseName = name->currentText();
    settings.userName = user->currentText();
    settings.password = password->text();
    settings.create = create->checkState() == Qt::Checked;
    return settings;
}

void DialogConnection::msSqlConnect()
{
    ConnectionSettings settings = settingsFrom(ui->msHostName, ui->msDatabaseName, ui->msUserName,
                                               ui->msPassword, ui->msCreateNewDb);
    settings.integratedSecurity = ui->useNtSecurity->checkState() == Qt::Checked;
    auto* db = new MsSqlDatabase;
    finish(db, db->connect(settings));
}

void DialogConnection::mySqlConnect()
{
    auto* db = new MySqlDatabase;
    finish(db, db->open(settingsFrom(ui->myHostName, ui->myDatabaseName, ui->myUserName, ui->myPassword,
                                     ui->myCreateNewDb)));
}

void DialogConnection::useNtSecurityStateChanged(int state)
{
    const bool login = state != Qt::Checked;
    ui->msUserName->setEnabled(login);
    ui->msPassword->setEnabled(login);
}

void DialogConnection::populateMsDatabases()
{
    ConnectionSettings settings;
    settings.host = ui->msHostName->currentText();
    const QStringList names = MsSqlDatabase::listDatabases(settings);
    auto* completer = new QCompleter(names, this);
    ui->msDatabaseName->clear();
    ui->msDatabaseName->setCompleter(completer);
    ui->msDatabaseName->clear();
    ui->msDatabaseName->addItems(names);
    ui->msDatabaseName->showPopup();
}

void DialogConnection::populateMyDatabases()
{
    const QStringList names = MySqlDatabase::listDatabases(
        ui->myHostName->currentText(), ui->myUserName->currentText(), ui->myPassword->text());
    auto* completer = new QCompleter(names, this);
    ui->myDatabaseName->setCompleter(completer);
    ui->myDatabaseName->clear();
    ui->myDatabaseName->addItems(names);
    ui->myDatabaseName->showPopup();
}
