#include "database/DialogImportV1Database.h"
#include "support/DialogAnswerer.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

namespace {

struct Form
{
    explicit Form(QDialog& d)
        : fileName(d.findChild<QLineEdit*>("lineEditFileName")),
          browse(d.findChild<QPushButton*>("buttonBrowse")),
          group(d.findChild<QGroupBox*>("gridGroupBox")),
          assets(d.findChild<QCheckBox*>("checkBoxAssets")),
          results(d.findChild<QCheckBox*>("checkBoxResults")),
          sequences(d.findChild<QCheckBox*>("checkBoxTestSequences")),
          ok(d.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok))
    {
    }
    QLineEdit* fileName;
    QPushButton* browse;
    QGroupBox* group;
    QCheckBox* assets;
    QCheckBox* results;
    QCheckBox* sequences;
    QPushButton* ok;
};

QByteArray stateWithPath(const QString& path)
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_6);
    out << QByteArray() << path;
    return state;
}

} // namespace

class TestDialogImportV1Database : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { TestEnvironment::clearSettings(); }
    void formAsItOpens();
    void okFollowsTheFileName();
    void browseFillsTheFieldAndRemembersTheFile();
    void cancelledBrowseEmptiesTheField();
    void badStoredStateIsIgnored();
};

void TestDialogImportV1Database::formAsItOpens()
{
    DialogImportV1Database dialog;
    Form f(dialog);
    QVERIFY(f.fileName && f.browse && f.group && f.assets && f.results && f.sequences && f.ok);
    QCOMPARE(dialog.windowTitle(), QString("Import Legacy Database (Pelvane V1)"));

    QVERIFY(f.fileName->text().isEmpty());
    QVERIFY(!f.ok->isEnabled());
    QVERIFY(f.assets->isChecked() && f.results->isChecked() && f.sequences->isChecked());
    QVERIFY(dialog.importAssets());
    QVERIFY(dialog.importResults());
}

void TestDialogImportV1Database::okFollowsTheFileName()
{
    DialogImportV1Database dialog;
    Form f(dialog);
    QTest::keyClick(f.fileName, Qt::Key_X);
    QVERIFY(f.ok->isEnabled());
    QCOMPARE(dialog.fileName(), QString("x"));
    QTest::keyClick(f.fileName, Qt::Key_Backspace);
    QVERIFY(!f.ok->isEnabled());

    // Any text will do: the attach finds out whether it is a database.
    f.fileName->setText("no such file.mdf");
    f.assets->setChecked(false);
    f.sequences->setChecked(false);
    QVERIFY(f.ok->isEnabled());
    QVERIFY(!dialog.importAssets());
    QVERIFY(dialog.importResults());
    QTimer::singleShot(0, f.ok, &QPushButton::click);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.fileName(), QString("no such file.mdf"));
}

void TestDialogImportV1Database::browseFillsTheFieldAndRemembersTheFile()
{
    const QString folder = TestEnvironment::instance()->newFolder("v1");
    const QString file = folder + "/old.mdf";
    QFile(file).open(QIODevice::WriteOnly);
    QString caption;
    QStringList filters;
    {
        DialogImportV1Database dialog;
        Form f(dialog);
        DialogAnswerer answerer;
        answerer.answerNext([&](QWidget* w) {
            auto* files = qobject_cast<QFileDialog*>(w);
            QVERIFY(files);
            caption = files->windowTitle();
            filters = files->nameFilters();
            DialogAnswerer::enterFileName(files, file);
            static_cast<QDialog*>(files)->accept();
        });
        QTest::mousePress(f.browse, Qt::LeftButton);
        QTest::mouseRelease(f.browse, Qt::LeftButton);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(f.fileName->text(), file);
        QVERIFY(f.ok->isEnabled());
        dialog.reject();
    }
    QCOMPARE(caption, QString("Select SQL Server Database"));
    QCOMPARE(filters, QStringList{"SQL Server Database (*.mdf)"});

    // The next dialog starts its browsing at the file chosen last.
    const QVariant stored = QSettings().value(DialogImportV1Database::settingsKey);
    QVERIFY(stored.isValid());
    QDataStream in(stored.toByteArray());
    in.setVersion(QDataStream::Qt_4_6);
    QByteArray geometry;
    QString remembered;
    in >> geometry >> remembered;
    QVERIFY(!geometry.isEmpty());
    QCOMPARE(remembered, file);
    DialogImportV1Database again;
    DialogAnswerer answerer;
    QString startFolder;
    answerer.answerNext([&](QWidget* w) {
        startFolder = qobject_cast<QFileDialog*>(w)->directory().absolutePath();
        qobject_cast<QFileDialog*>(w)->reject();
    });
    again.onBrowsePressed();
    QCOMPARE(startFolder, QFileInfo(folder).absoluteFilePath());
}

void TestDialogImportV1Database::cancelledBrowseEmptiesTheField()
{
    DialogImportV1Database dialog;
    Form f(dialog);
    f.fileName->setText("C:/data/old.mdf");
    QVERIFY(f.ok->isEnabled());
    DialogAnswerer answerer; // rejects the file dialog
    dialog.onBrowsePressed();
    QCOMPARE(answerer.count(), 1);
    QVERIFY(f.fileName->text().isEmpty());
    QVERIFY(!f.ok->isEnabled());
}

void TestDialogImportV1Database::badStoredStateIsIgnored()
{
    QSettings().setValue(DialogImportV1Database::settingsKey, QByteArray("\x01\x02", 2));
    {
        DialogImportV1Database dialog;
        QDataStream in(dialog.saveState());
        in.setVersion(QDataStream::Qt_4_6);
        QByteArray geometry;
        QString path;
        in >> geometry >> path;
        QVERIFY(path.isEmpty());
    }
    // A stored path in the layout the dialog reads is taken.
    QSettings().setValue(DialogImportV1Database::settingsKey, stateWithPath("/srv/v1/old.mdf"));
    DialogImportV1Database dialog;
    QDataStream in(dialog.saveState());
    in.setVersion(QDataStream::Qt_4_6);
    QByteArray geometry;
    QString path;
    in >> geometry >> path;
    QCOMPARE(path, QString("/srv/v1/old.mdf"));
}

PELVANE_TEST_MAIN(TestDialogImportV1Database)
#include "TestDialogImportV1Database.moc"
