#include "database/Database.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QtTest>

// The built program, started the way a desktop launcher or a shell in the
// home folder starts it: from a folder that holds none of its files, with a
// home of its own. A plugin loaded into it (tests/windowdriver) works its
// windows and reports what a user would have seen. The package test runs
// these cases again on the unpacked package: PELVANE_STARTED_PROGRAM names
// its program and PELVANE_STARTED_SHIPPED the folder its files must come from.
namespace {

QString fromEnvironment(const char* name, const QString& otherwise)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? otherwise : value;
}

struct Run
{
    int exitCode = -1;
    QString output;

    bool finished() const { return output.split(QLatin1Char('\n')).contains(QStringLiteral("DONE")); }

    QStringList lines(const QString& prefix) const
    {
        QStringList found;
        for (const QString& line : output.split(QLatin1Char('\n')))
            if (line.startsWith(prefix))
                found << line.mid(prefix.size());
        return found;
    }
};

// The program's settings file in a home made by startIn.
QString settingsFile(const QString& home)
{
    return home + QStringLiteral("/config/Tavisk/Pelvane V2.conf");
}

Run startIn(const QString& program, const QString& folder, const QString& home, const QString& drive)
{
    QDir().mkpath(home + QStringLiteral("/config"));
    QDir().mkpath(home + QStringLiteral("/data"));
    QDir().mkpath(home + QStringLiteral("/runtime"));
    QFile::setPermissions(home + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QGuiApplication::platformName());
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(PELVANE_DRIVER_PLUGINS));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("pelvanedriver"));
    env.insert(QStringLiteral("PELVANE_DRIVE"), drive);

    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {});
    Run run;
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
    }
    run.output = QString::fromLocal8Bit(process.readAll());
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

// The width x height of every picture in a PDF, as poppler lists them.
QStringList pictureSizes(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    process.waitForFinished(30000);
    QStringList sizes;
    static const QRegularExpression row(QStringLiteral("^\\s*\\d+\\s+\\d+\\s+\\S+\\s+(\\d+)\\s+(\\d+)"));
    for (const QString& line : QString::fromLocal8Bit(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = row.match(line);
        if (m.hasMatch())
            sizes << m.captured(1) + QLatin1Char('x') + m.captured(2);
    }
    return sizes;
}

QString sizeOf(const QString& picture)
{
    const QImage image(picture);
    return image.isNull() ? QString() : QStringLiteral("%1x%2").arg(image.width()).arg(image.height());
}

} // namespace

class TestStartedAnywhere : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void firstStartListsTheLanguagesAndCreatesADatabase();
    void certificateCarriesItsPictures();
    void databaseWithoutSchemaLeavesNoFile();

private:
    const QString m_program = fromEnvironment("PELVANE_STARTED_PROGRAM", QStringLiteral(PELVANE_PROGRAM));
    const QString m_shipped = fromEnvironment("PELVANE_STARTED_SHIPPED", QFileInfo(m_program).absolutePath());
};

void TestStartedAnywhere::initTestCase()
{
    QVERIFY2(QFile::exists(m_program), qPrintable(m_program));
    // The program's folder holds what it ships with (the build puts it
    // there), or the package's share folder does.
    for (const char* shipped : {"Schemas/schema.sqlite.sql", "Translations/pelvane_en.qm", "ResourceFiles/blank.png",
                                "ResourceFiles/tavisk.jpg", "Docs/Pelvane User Manual.pdf"})
        QVERIFY2(QFile::exists(m_shipped + QLatin1Char('/') + QLatin1String(shipped)), shipped);
}

void TestStartedAnywhere::firstStartListsTheLanguagesAndCreatesADatabase()
{
    const QString folder = TestEnvironment::instance()->newFolder(QStringLiteral("desktop"));
    const QString database = folder + QStringLiteral("/register.db");
    // A stray script where it starts must not stand in for its own.
    QVERIFY(QDir(folder).mkpath(QStringLiteral("Schemas")));
    QFile stray(folder + QStringLiteral("/Schemas/schema.sqlite.sql"));
    QVERIFY(stray.open(QIODevice::WriteOnly) && stray.write("CREATE TABLE Stray (Id INTEGER);\n") > 0);
    stray.close();
    const Run run = startIn(m_program, folder, TestEnvironment::instance()->newFolder(QStringLiteral("home")),
                            QStringLiteral("create:") + database);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.finished(), qPrintable(run.output));
    // Named as the settings keep them, wherever they were found.
    QVERIFY2(run.lines(QStringLiteral("LANGUAGE ")).contains(QStringLiteral("English|Translations/pelvane_en.qm")),
             qPrintable(run.output));
    QVERIFY2(run.lines(QStringLiteral("MENU-LANGUAGE ")).contains(QStringLiteral("English|Translations/pelvane_en.qm")),
             qPrintable(run.output));
    QVERIFY2(run.lines(QStringLiteral("MESSAGE ")).isEmpty(), qPrintable(run.output));
    QCOMPARE(run.lines(QStringLiteral("OPENED ")),
             QStringList(QDir::cleanPath(m_shipped + QStringLiteral("/Docs/Pelvane User Manual.pdf"))));

    QVERIFY(QFile::exists(database));
    {
        QSqlDatabase check = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        check.setDatabaseName(database);
        QVERIFY(check.open());
        QCOMPARE(check.tables().size(), 11);
        QVERIFY(check.tables().contains(QStringLiteral("Asset")));
        check.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
}

void TestStartedAnywhere::certificateCarriesItsPictures()
{
    const QString pdfimages = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (pdfimages.isEmpty()) {
        if (qgetenv("CI") == "true")
            QFAIL("poppler-utils is missing");
        QSKIP("poppler-utils is missing; run scripts/setup");
    }
    const QString folder = TestEnvironment::instance()->newFolder(QStringLiteral("desktop"));
    const QString home = TestEnvironment::instance()->newFolder(QStringLiteral("home"));
    const QString database = folder + QStringLiteral("/demo.db");
    QVERIFY(SeededDatabase::createSeeded(database));
    Database::setInstance(nullptr);
    {
        QSettings settings(settingsFile(home), QSettings::IniFormat);
        settings.setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
        settings.setValue(QStringLiteral("db/current/type"), 0);
        settings.setValue(QStringLiteral("db/current/fileName"), database);
    }

    const QString pdf = folder + QStringLiteral("/certificate.pdf");
    const Run run = startIn(m_program, folder, home, QStringLiteral("certificate:") + pdf);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.lines(QStringLiteral("PDF ")).contains(pdf), qPrintable(run.output));
    QVERIFY2(run.lines(QStringLiteral("MESSAGE ")).isEmpty(), qPrintable(run.output));

    // The footer mark on the page and the blank picture standing in for the
    // logo and signature that the form leaves empty; a picture that was not
    // found would be drawn as a small placeholder instead.
    const QStringList sizes = pictureSizes(pdf);
    const QString footer = sizeOf(m_shipped + QStringLiteral("/ResourceFiles/tavisk.jpg"));
    const QString blank = sizeOf(m_shipped + QStringLiteral("/ResourceFiles/blank.png"));
    QVERIFY(!footer.isEmpty() && !blank.isEmpty());
    QVERIFY2(sizes.contains(footer), qPrintable(sizes.join(QLatin1Char(' '))));
    QVERIFY2(sizes.count(blank) >= 2, qPrintable(sizes.join(QLatin1Char(' '))));
}

void TestStartedAnywhere::databaseWithoutSchemaLeavesNoFile()
{
    // A copy of the program alone in its folder: no schema scripts anywhere.
    const QString lonely = TestEnvironment::instance()->newFolder(QStringLiteral("lonely")) + QStringLiteral("/pelvane");
    QVERIFY(QFile::copy(m_program, lonely));
    QVERIFY(QFile::setPermissions(lonely, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const QString folder = TestEnvironment::instance()->newFolder(QStringLiteral("desktop"));
    const QString database = folder + QStringLiteral("/register.db");
    const Run run = startIn(lonely, folder, TestEnvironment::instance()->newFolder(QStringLiteral("home")),
                            QStringLiteral("create:") + database);
    QFile::remove(lonely);
    QCOMPARE(run.exitCode, 0);
    const QStringList messages = run.lines(QStringLiteral("MESSAGE "));
    QVERIFY2(!messages.isEmpty() && messages.first().contains(QLatin1String("Schemas/schema.sqlite.sql")),
             qPrintable(run.output));
    QVERIFY2(run.finished(), qPrintable(run.output));
    QVERIFY(!QFile::exists(database));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
}

PELVANE_TEST_MAIN(TestStartedAnywhere)
#include "TestStartedAnywhere.moc"
