#include "portwell/LanguageTables.h"
#include "portwell/TForm1.h"
#include "tests/portwell/ModalAnswerer.h"
#include "tests/portwell/PrivateConfigFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace LanguageTables;

class TestLanguageTables : public QObject
{
    Q_OBJECT
public:
    static void initMain() { usePrivateConfigFolder(); }
private slots:
    void lookupFallsBackToEnglishAndStaysInBounds();
    void exportWritesEveryRowAsTranslatorsReadIt();
    void exportArgumentWritesTheFileAtStartUp();

private:
    // The English table as the tool's users know it.
    const QStringList english = {
        "English", "", "File", "Code Update", "Send File", "Exit", "Capture", "Start Capture",
        "Stop Capture", "Help", "About", "Port List", "Time", "Download Progress",
        "Estimated time to completion", "Ready", "Data received from Tester", "Version",
        GetLangString(18, 0),
        "Time Out error - Problem sending data", "Download Problem",
        "Comms error - Problem sending data", "In Progress", "Completed successfully",
        "File size transferred = ", "Lines sent = ", "Retries = ", "Download Status",
        "Comms failure - download abandoned", "Please check Tester is ready for upgrade and ",
        "Bluetooth Dongle is connected and configured correctly", "Comport Unavailable",
        "Erasing...", "Completed", "Capture OFF", "Capture ON", "Configure COM Port", "Error",
        "Warning", "Already downloading. Cancel and start again?", "Error Opening file"};
};

void TestLanguageTables::lookupFallsBackToEnglishAndStaysInBounds()
{
    QCOMPARE(EntryCount, int(english.size()));
    for (int i = 0; i < EntryCount; ++i)
        QCOMPARE(GetLangString(i, 0), english.at(i));
    QVERIFY(!GetLangString(18, 0).isEmpty());

    QCOMPARE(GetLangString(0, 1), QStringLiteral("Francais"));
    QCOMPARE(GetLangString(0, 2), QStringLiteral("Dutch"));
    // Every table holds every entry, in its own words or in English.
    for (int language = 1; language < LanguageCount; ++language) {
        for (int i = 0; i < EntryCount; ++i) {
            if (i == 1)
                QVERIFY(GetLangString(i, language).isEmpty());
            else
                QVERIFY2(!GetLangString(i, language).isEmpty(), qPrintable(QString::number(i)));
        }
    }
    QCOMPARE(GetLangString(3, 4), QStringLiteral("Code Update"));

    QCOMPARE(GetLangString(41, 0), QString());
    QCOMPARE(GetLangString(-1, 0), QString());
    QCOMPARE(GetLangString(3, 6), QString());
    QCOMPARE(GetLangString(3, -1), QString());
}

void TestLanguageTables::exportWritesEveryRowAsTranslatorsReadIt()
{
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    QFile stale(QStringLiteral("LangStrings.txt"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray(20000, 'x'));
    stale.close();
    QVERIFY(ExportLangStrings());
    QDir::setCurrent(previous);

    QFile file(folder.filePath(QStringLiteral("LangStrings.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.contains('\n'));
    QVERIFY(bytes.endsWith('\r'));
    const QList<QByteArray> rows = bytes.chopped(1).split('\r');
    QCOMPARE(rows.size(), EntryCount);
    for (int i = 0; i < EntryCount; ++i) {
        const QList<QByteArray> columns = rows.at(i).split('\t');
        QCOMPARE(columns.size(), 1 + LanguageCount);
        QCOMPARE(columns.at(0), QByteArray::number(i).rightJustified(3, '0'));
        QCOMPARE(QString::fromLatin1(columns.at(1)), english.at(i));
        for (int language = 0; language < LanguageCount; ++language)
            QCOMPARE(QString::fromLatin1(columns.at(1 + language)), GetLangString(i, language));
    }
    QVERIFY(rows.at(3).startsWith("003\tCode Update\t"));
    QCOMPARE(rows.at(1), QByteArray("001\t\t\t\t\t\t"));
}

void TestLanguageTables::exportArgumentWritesTheFileAtStartUp()
{
    ModalAnswerer answerer;
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    {
        TForm1 form({QStringLiteral("portwell"), QStringLiteral("EXPORT")});
    }
    QVERIFY(QFile::exists(QStringLiteral("LangStrings.txt")));
    QFile written(QStringLiteral("LangStrings.txt"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray atStart = written.readAll();
    written.remove();
    {
        TForm1 form({QStringLiteral("portwell"), QStringLiteral("import")});
    }
    const bool writtenWithoutArgument = QFile::exists(QStringLiteral("LangStrings.txt"));
    QVERIFY(ExportLangStrings());
    QFile expected(QStringLiteral("LangStrings.txt"));
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QDir::setCurrent(previous);
    QVERIFY(!writtenWithoutArgument);
    QCOMPARE(atStart, expected.readAll());
}

QTEST_MAIN(TestLanguageTables)
#include "TestLanguageTables.moc"
