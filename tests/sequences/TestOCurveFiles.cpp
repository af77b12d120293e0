#include "assets/GraphWidget.h"
#include "sequences/OCurveFile.h"
#include "sequences/TestSequence.h"
#include "sequences/TestSequenceWidget.h"
#include "sequences/TestSequenceWidgetContainer.h"
#include "support/DialogAnswerer.h"
#include "support/TestEnvironment.h"
#include "ux/TsqTestSequenceElementCorvixSetPressoSettings.h"
#include "ux/TsqTestSequenceElementNIBPSettingsOCurve.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

void writeFile(const QString& relative, const QByteArray& content)
{
    const QString path = OCurveFile::root() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// "i*10,i*i" for i = 1..n, lines ended by end.
QByteArray points(int n, const QByteArray& end = "\n")
{
    QByteArray text;
    for (int i = 1; i <= n; ++i)
        text += QByteArray::number(i * 10) + ',' + QByteArray::number(i * i) + end;
    return text;
}

QByteArray record(Ux::TsqTestSequenceElement* element)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    element->write(out, true);
    return bytes;
}

QStringList items(QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

} // namespace

// The curve folders under the data folder, and the two editors that choose
// a curve from them.
class TestOCurveFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newElementMakesItsCurveFile();
    void choosingAPressureTakesItsCurve();
    void unusableCurveFilesAreRefused();
    void monitorAndPatientSizeChoices();
    void monitorNamesThatNameNoFolderOfTheirOwn();
    void pressoSettingsFollowThePatientSize();
    void curveFolderThatCannotBeMade();

private:
    TestSequenceWidget* open(quint8 id, Ux::TsqTestSequenceElement* element = nullptr);
    QComboBox* combo(const char* name) const { return m_editor->findChild<QComboBox*>(QLatin1String(name)); }
    QList<QPointF> graph() const { return m_editor->findChild<GraphWidget*>(QStringLiteral("curve"))->points(); }
    QByteArray bytes() const { return record(m_editor->element()); }
    void choose(const char* comboName, const QString& text);

    std::unique_ptr<DialogAnswerer> m_answerer;
    std::unique_ptr<TestSequence> m_list;
    std::unique_ptr<TestSequenceWidgetContainer> m_frame;
    TestSequenceWidget* m_editor = nullptr;
};

void TestOCurveFiles::init()
{
    QDir(OCurveFile::root()).removeRecursively();
    m_answerer = std::make_unique<DialogAnswerer>();
}

void TestOCurveFiles::cleanup()
{
    m_frame.reset();
    m_list.reset();
    m_answerer.reset();
}

TestSequenceWidget* TestOCurveFiles::open(quint8 id, Ux::TsqTestSequenceElement* element)
{
    m_frame.reset();
    m_list = std::make_unique<TestSequence>();
    m_frame.reset(m_list->createElementWidget(id, element));
    m_editor = m_frame ? m_frame->widget() : nullptr;
    return m_editor;
}

void TestOCurveFiles::choose(const char* comboName, const QString& text)
{
    QComboBox* box = combo(comboName);
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
}

void TestOCurveFiles::newElementMakesItsCurveFile()
{
    QVERIFY(open(178));
    QFile file(OCurveFile::root() + QStringLiteral("/Default/Adult/120_080.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray forty;
    for (int i = 0; i < 40; ++i)
        forty += "0,0\n";
    QCOMPARE(file.readAll(), forty);
    QCOMPARE(items(combo("monitorName")), QStringList{"Default"});
    QCOMPARE(items(combo("systolicDiastolic")), QStringList{"120/80"});
    QCOMPARE(combo("adultInfant")->currentText(), QStringLiteral("Adult"));
    // 120/80, the setting 90, adult, "Default", forty (0,0) entries.
    QCOMPARE(bytes().toHex(), "b1b2780050005a00b4" + QByteArray("Default").toHex() + "00" + QByteArray(160, '\0').toHex());
    QCOMPARE(graph(), QList<QPointF>{QPointF(0, 0)});

    // The blood-pressure settings of the vital-signs simulator start as clean;
    // the record is 176 bytes and the monitor name long.
    QVERIFY(open(186));
    QVERIFY(QFile::exists(OCurveFile::root() + QStringLiteral("/Datex-Omeda S5/Adult/120_080.csv")));
    QCOMPARE(bytes().mid(0, 14).toHex(), QByteArray("beba780050005a00b4015a000000"));
    QCOMPARE(bytes().mid(14).toHex(), QByteArray("78") + QByteArray("Datex-Omeda S5").toHex() + "00"
                                          + QByteArray(160, '\0').toHex());
}

void TestOCurveFiles::choosingAPressureTakesItsCurve()
{
    writeFile("Default/Adult/120_080.csv", points(2));
    writeFile("Default/Adult/090_060.csv", "\r\n" + points(5, "\r\n") + "\r\n\r\n" + points(12, "\r\n").mid(32));
    writeFile("Default/Adult/abc.csv", points(3));
    writeFile("Default/Adult/100_060.csv", points(55));
    QVERIFY(open(178));
    QCOMPARE(items(combo("systolicDiastolic")), (QStringList{"90/60", "100/60", "120/80", "0/0"}));
    QCOMPARE(combo("systolicDiastolic")->currentText(), QStringLiteral("120/80"));
    QSignalSpy modified(m_editor, &TestSequenceWidget::modified);

    choose("systolicDiastolic", "90/60");
    QCOMPARE(modified.count(), 1);
    auto* element = static_cast<Ux::TsqTestSequenceElementNIBPSettingsOCurve*>(m_editor->element());
    QCOMPARE(element->systolic, quint16(90));
    QCOMPARE(element->diastolic, quint16(60));
    QList<QPointF> expected;
    for (int i = 1; i <= 12; ++i)
        expected << QPointF(i * 10, i * i);
    QCOMPARE(graph(), expected);
    Ux::TsqTestSequenceElementNIBPSettingsOCurve expectedElement;
    expectedElement.systolic = 90;
    expectedElement.diastolic = 60;
    for (int i = 0; i < 12; ++i) {
        expectedElement.curve[i][0] = quint16((i + 1) * 10);
        expectedElement.curve[i][1] = quint16((i + 1) * (i + 1));
    }
    QCOMPARE(bytes().toHex(), record(&expectedElement).toHex());
    QCOMPARE(bytes().mid(2, 4).toHex(), QByteArray("5a003c00"));

    // A file name without pressures is listed but changes nothing.
    const QByteArray before = bytes();
    choose("systolicDiastolic", "0/0");
    QCOMPARE(modified.count(), 1);
    QCOMPARE(bytes(), before);

    // At most forty points are read.
    choose("systolicDiastolic", "100/60");
    QCOMPARE(graph().size(), 40);
    QCOMPARE(element->curve[39][1], quint16(1600));
    QCOMPARE(modified.count(), 2);
}

void TestOCurveFiles::unusableCurveFilesAreRefused()
{
    writeFile("Default/Adult/120_080.csv", points(3));
    writeFile("Default/Adult/130_085.csv", "10,20\n15,25\n12,70000\n");
    writeFile("Default/Adult/140_090.csv", "10,20\nten,30\n");
    writeFile("Default/Adult/150_095.csv", "10\n");
    Ux::TsqTestSequenceElementNIBPSettingsOCurve stored;
    stored.curve[0][0] = 5;
    stored.curve[1][0] = 6;
    QVERIFY(open(178, &stored));
    const QByteArray before = bytes();
    QSignalSpy modified(m_editor, &TestSequenceWidget::modified);
    const struct {
        const char* pair;
        const char* file;
        int line;
    } refused[] = {{"130/85", "130_085.csv", 3}, {"140/90", "140_090.csv", 2}, {"150/95", "150_095.csv", 1}};
    for (const auto& r : refused) {
        m_answerer->clear();
        choose("systolicDiastolic", QLatin1String(r.pair));
        QCOMPARE(m_answerer->count(), 1);
        const QString text = m_answerer->last().text;
        QVERIFY2(text.contains(QLatin1String(r.file)) && text.contains(QStringLiteral("line %1").arg(r.line)),
                 qPrintable(text));
        QCOMPARE(bytes(), before);
        QCOMPARE(combo("systolicDiastolic")->currentText(), QStringLiteral("120/80"));
    }
    QCOMPARE(modified.count(), 0);
    // The element's own points are shown, not those of its file.
    QCOMPARE(graph(), (QList<QPointF>{QPointF(5, 0), QPointF(6, 0)}));
}

void TestOCurveFiles::monitorAndPatientSizeChoices()
{
    writeFile("Default/Adult/120_080.csv", points(2));
    writeFile("acme/Adult/110_070.csv", points(4));
    writeFile("acme/Adult/100_060.csv", points(3));
    QVERIFY(open(178));
    QCOMPARE(items(combo("monitorName")), (QStringList{"acme", "Default"}));
    QCOMPARE(combo("monitorName")->currentText(), QStringLiteral("Default"));
    auto* element = static_cast<Ux::TsqTestSequenceElementNIBPSettingsOCurve*>(m_editor->element());
    QSignalSpy modified(m_editor, &TestSequenceWidget::modified);

    // Another monitor takes its first curve.
    choose("monitorName", "acme");
    QCOMPARE(modified.count(), 1);
    QCOMPARE(element->monitorName, QStringLiteral("acme"));
    QCOMPARE(combo("systolicDiastolic")->currentText(), QStringLiteral("100/60"));
    QCOMPARE(element->systolic, quint16(100));
    QCOMPARE(graph().size(), 3);

    // A side without curves is refused once and the choice goes back.
    choose("adultInfant", "Infant");
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().text,
             QStringLiteral("No CSV files found in the directory. Reverting to previous selection."));
    QCOMPARE(combo("adultInfant")->currentText(), QStringLiteral("Adult"));
    QCOMPARE(element->adultInfant, quint8(180));
    QCOMPARE(modified.count(), 1);

    writeFile("acme/Infant/080_050.csv", points(6));
    choose("adultInfant", "Infant");
    QCOMPARE(modified.count(), 2);
    QCOMPARE(element->adultInfant, quint8(30));
    QCOMPARE(element->systolic, quint16(80));
    QCOMPARE(graph().size(), 6);
    Ux::TsqTestSequenceElementNIBPSettingsOCurve infant;
    infant.monitorName = QStringLiteral("acme");
    infant.adultInfant = 30;
    infant.systolic = 80;
    infant.diastolic = 50;
    for (int i = 0; i < 6; ++i) {
        infant.curve[i][0] = quint16((i + 1) * 10);
        infant.curve[i][1] = quint16((i + 1) * (i + 1));
    }
    QCOMPARE(bytes().toHex(), record(&infant).toHex());

    // Back to the first monitor, whose Infant side is empty: refused.
    choose("monitorName", "Default");
    QCOMPARE(combo("monitorName")->currentText(), QStringLiteral("acme"));
    QCOMPARE(element->monitorName, QStringLiteral("acme"));
    QCOMPARE(modified.count(), 2);
}

void TestOCurveFiles::monitorNamesThatNameNoFolderOfTheirOwn()
{
    writeFile("Default/Adult/120_080.csv", points(2));
    for (const QString& name : {QStringLiteral("../../escape"), QStringLiteral(".."), QString(),
                                QStringLiteral("a\\b")}) {
        Ux::TsqTestSequenceElementNIBPSettingsOCurve stored;
        stored.monitorName = name;
        stored.systolic = 111;
        const QByteArray storedBytes = record(&stored);
        QVERIFY(open(178, &stored));
        QSignalSpy modified(m_editor, &TestSequenceWidget::modified);
        QCOMPARE(bytes(), storedBytes);
        QCOMPARE(modified.count(), 0);
        QVERIFY(!m_editor->findChild<QLabel*>(QStringLiteral("curveNotice"))->isHidden());
        QVERIFY(m_editor->findChild<QLabel*>(QStringLiteral("curveNotice"))->text().contains(name));
    }
    // Nothing was written anywhere but the one good curve.
    QDir data(OCurveFile::root() + QStringLiteral("/.."));
    QVERIFY(!QFileInfo::exists(OCurveFile::root() + QStringLiteral("/../../escape")));
    QVERIFY(!QFileInfo::exists(OCurveFile::root() + QStringLiteral("/Adult")));
    QCOMPARE(QDir(OCurveFile::root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Default"});
    QCOMPARE(data.entryList(QStringList{"Adult", "Infant", "escape"}, QDir::AllEntries), QStringList());
}

void TestOCurveFiles::pressoSettingsFollowThePatientSize()
{
    writeFile("Datex-Omeda S5/Adult/120_080.csv", points(2));
    writeFile("Datex-Omeda S5/Infant/080_050.csv", points(5));
    Ux::TsqTestSequenceElementCorvixSetPressoSettings stored;
    stored.pulseVolume = 30;
    QVERIFY(open(186, &stored));
    auto* element = static_cast<Ux::TsqTestSequenceElementCorvixSetPressoSettings*>(m_editor->element());
    QCOMPARE(record(element), record(&stored));
    QCOMPARE(combo("adultInfant")->currentText(), QStringLiteral("Infant"));
    QCOMPARE(combo("pulseVolume")->currentIndex(), 1);
    QCOMPARE(items(combo("systolicDiastolic")), QStringList{"80/50"});
    QSignalSpy modified(m_editor, &TestSequenceWidget::modified);

    choose("adultInfant", "Adult");
    QCOMPARE(modified.count(), 1);
    QCOMPARE(element->pulseVolume, quint8(180));
    QCOMPARE(element->byte6, quint8(180));
    QCOMPARE(element->systolic, quint16(120));

    choose("pulseVolume", "High");
    QCOMPARE(element->pulseVolume, quint8(255));
    choose("adultInfant", "Infant");
    QCOMPARE(element->pulseVolume, quint8(45));
    QCOMPARE(element->byte6, quint8(30));
    QCOMPARE(element->systolic, quint16(80));
    QCOMPARE(graph().size(), 5);
    QCOMPARE(modified.count(), 3);
}

void TestOCurveFiles::curveFolderThatCannotBeMade()
{
    // A file where the curve folders should be.
    QDir().mkpath(QFileInfo(OCurveFile::root()).absolutePath());
    QFile blocker(OCurveFile::root());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Ux::TsqTestSequenceElementNIBPSettingsOCurve stored;
    stored.curve[0][1] = 42;
    QVERIFY(open(178, &stored));
    QCOMPARE(bytes(), record(&stored));
    auto* notice = m_editor->findChild<QLabel*>(QStringLiteral("curveNotice"));
    QVERIFY(!notice->isHidden());
    QVERIFY2(notice->text().contains(QStringLiteral("cannot be created")), qPrintable(notice->text()));
    // No monitor can be offered either.
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().text,
             QStringLiteral("No CSV files found in the directory. Reverting to previous selection."));
    QCOMPARE(graph(), (QList<QPointF>{QPointF(0, 42)}));
    blocker.remove();
}

PELVANE_TEST_MAIN(TestOCurveFiles)
#include "TestOCurveFiles.moc"
