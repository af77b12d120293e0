#include "certificates/CertificateTemplate.h"
#include "support/DialogAnswerer.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>

namespace {
// [N] in the cases below is the marker of N.
QString m(const QString& name)
{
    return QStringLiteral("<!--###%1###-->").arg(name);
}

QStringList names(const CertificateSection* parent)
{
    QStringList out;
    for (const auto& child : parent->children)
        out << child->name;
    return out;
}

// depth blocks, each inside the one before, with a field F in the innermost.
QString nested(int depth)
{
    QString text;
    for (int k = 0; k < depth; ++k)
        text += m(QStringLiteral("B%1_START").arg(k));
    text += m(QStringLiteral("F"));
    for (int k = depth - 1; k >= 0; --k)
        text += m(QStringLiteral("B%1_END").arg(k));
    return text;
}

int depthOf(const CertificateSection* section)
{
    int depth = 0;
    while (!section->children.empty() && !section->children.front()->children.empty()) {
        section = section->children.front().get();
        ++depth;
    }
    return depth;
}

QUrl writeFile(const QByteArray& bytes)
{
    const QString path = TestEnvironment::instance()->newFolder() + QStringLiteral("/template.html");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return QUrl::fromLocalFile(path);
}
} // namespace

class TestCertificateTemplate : public QObject
{
    Q_OBJECT
private slots:
    void markersCutTheTextIntoSections();
    void blocksNestAndAreSearchedOneLevelAtATime();
    void blockWithoutEndMarkerTakesTheRest();
    void missingEndOfMarkerIsReportedAndStopsOnlyItsLevel();
    void clonesAreDeepAndInsertedAfterTheirReference();
    void filesAreReadAsUtf8UpToNulAndReloadingForgetsTheOldTree();
    void deepNestingIsCutAtALimitAndParsedInLinearTime();
};

void TestCertificateTemplate::markersCutTheTextIntoSections()
{
    CertificateTemplate t;
    QVERIFY(!t.root());
    QCOMPARE(t.render(), QString());

    t.loadText(QStringLiteral("A") + m(QStringLiteral("X")) + QStringLiteral("B"));
    QCOMPARE(names(t.root()), (QStringList{QStringLiteral("X"), QString()}));
    QCOMPARE(t.root()->children.at(0)->prefix, QStringLiteral("A"));
    QCOMPARE(t.root()->children.at(1)->prefix, QStringLiteral("B"));
    QCOMPARE(t.render(), QStringLiteral("AB"));
    t.setValue(QStringLiteral("X"), QStringLiteral("v"));
    QCOMPARE(t.render(), QStringLiteral("AvB"));
    t.setValue(QStringLiteral("X"), QString());
    QCOMPARE(t.render(), QStringLiteral("A&nbsp;B"));
    // Unknown names and names in another case change nothing.
    t.setValue(QStringLiteral("x"), QStringLiteral("w"));
    t.setValue(QStringLiteral("Y"), QStringLiteral("w"));
    QCOMPARE(t.render(), QStringLiteral("A&nbsp;B"));

    // Text without markers, a marker at the very start, a name used twice,
    // and text that looks like a placeholder all pass through verbatim.
    t.loadText(QStringLiteral("<p>100% %1 done</p>"));
    QCOMPARE(t.root()->children.size(), size_t(1));
    QCOMPARE(t.render(), QStringLiteral("<p>100% %1 done</p>"));
    t.loadText(m(QStringLiteral("N")) + QStringLiteral("-") + m(QStringLiteral("N")));
    QCOMPARE(t.root()->children.at(0)->prefix, QString());
    t.setValue(QStringLiteral("N"), QStringLiteral("%2"));
    QCOMPARE(t.render(), QStringLiteral("%2-"));
    // A marker's name is taken as written, blanks and all.
    t.loadText(m(QStringLiteral(" a b ")));
    QCOMPARE(t.root()->children.at(0)->name, QStringLiteral(" a b "));
}

void TestCertificateTemplate::blocksNestAndAreSearchedOneLevelAtATime()
{
    CertificateTemplate t;
    t.loadText(QStringLiteral("P") + m(QStringLiteral("T_START")) + QStringLiteral("R") + m(QStringLiteral("F"))
               + QStringLiteral("S") + m(QStringLiteral("T_END")) + QStringLiteral("Q"));
    QCOMPARE(names(t.root()), (QStringList{QStringLiteral("T"), QString()}));
    CertificateSection* block = t.findSection(QStringLiteral("T"));
    QVERIFY(block);
    QCOMPARE(block->prefix, QStringLiteral("P"));
    QCOMPARE(names(block), (QStringList{QStringLiteral("F"), QString()}));
    QCOMPARE(block->children.at(0)->prefix, QStringLiteral("R"));
    QCOMPARE(block->children.at(1)->prefix, QStringLiteral("S"));
    QCOMPARE(t.root()->children.at(1)->prefix, QStringLiteral("Q"));
    QVERIFY(!t.findSection(QStringLiteral("F")));
    QCOMPARE(t.findSection(QStringLiteral("F"), block), block->children.at(0).get());
    t.setValue(QStringLiteral("F"), QStringLiteral("1"), block);
    QCOMPARE(t.render(), QStringLiteral("PR1SQ"));

    // Blocks inside blocks, and a block with an empty name.
    t.loadText(m(QStringLiteral("A_START")) + QStringLiteral("a") + m(QStringLiteral("B_START"))
               + m(QStringLiteral("X")) + m(QStringLiteral("B_END")) + QStringLiteral("b")
               + m(QStringLiteral("A_END")) + m(QStringLiteral("_START")) + QStringLiteral("e")
               + m(QStringLiteral("_END")) + QStringLiteral("z"));
    QCOMPARE(names(t.root()), (QStringList{QStringLiteral("A"), QString(), QString()}));
    CertificateSection* a = t.findSection(QStringLiteral("A"));
    CertificateSection* b = t.findSection(QStringLiteral("B"), a);
    QVERIFY(b);
    t.setValue(QStringLiteral("X"), QStringLiteral("x"), b);
    QCOMPARE(t.render(), QStringLiteral("axbez"));
    // Of the two unnamed sections at the root, the first is the empty-named block.
    QCOMPARE(t.root()->children.at(1)->children.size(), size_t(1));
    QCOMPARE(t.root()->children.at(1)->children.at(0)->prefix, QStringLiteral("e"));
}

void TestCertificateTemplate::blockWithoutEndMarkerTakesTheRest()
{
    CertificateTemplate t;
    t.loadText(QStringLiteral("P") + m(QStringLiteral("T_START")) + QStringLiteral("R") + m(QStringLiteral("F"))
               + QStringLiteral("S"));
    QCOMPARE(names(t.root()), (QStringList{QStringLiteral("T"), QString()}));
    QCOMPARE(t.root()->children.at(1)->prefix, QString());
    CertificateSection* block = t.findSection(QStringLiteral("T"));
    QCOMPARE(names(block), (QStringList{QStringLiteral("F"), QString()}));
    QCOMPARE(t.render(), QStringLiteral("PRS"));
}

void TestCertificateTemplate::missingEndOfMarkerIsReportedAndStopsOnlyItsLevel()
{
    DialogAnswerer answerer;
    CertificateTemplate t;
    // At the root: what was read before the bad marker stays, nothing after it.
    t.loadText(QStringLiteral("A") + m(QStringLiteral("X")) + QStringLiteral("B<!--###Y and more"));
    QVERIFY(answerer.waitForCount(1));
    QCOMPARE(answerer.last().className, QStringLiteral("DialogErrorMessage"));
    QVERIFY2(answerer.last().text.contains(QStringLiteral("Error in template file. Missing end of marker\n\nA")
                                           + m(QStringLiteral("X")) + QStringLiteral("B<!--###")),
             qPrintable(answerer.last().text));
    QVERIFY(!answerer.last().text.contains(QStringLiteral("and more")));
    QCOMPARE(names(t.root()), (QStringList{QStringLiteral("X")}));
    t.setValue(QStringLiteral("X"), QStringLiteral("1"));
    QCOMPARE(t.render(), QStringLiteral("A1"));

    // Inside a block: the dump is the block's own text, and the enclosing
    // level carries on after the block.
    answerer.clear();
    t.loadText(QStringLiteral("P") + m(QStringLiteral("T_START")) + QStringLiteral("r<!--###bad")
               + m(QStringLiteral("T_END")) + QStringLiteral("Q") + m(QStringLiteral("Z")) + QStringLiteral("E"));
    QVERIFY(answerer.waitForCount(1));
    QVERIFY2(answerer.last().text.endsWith(QStringLiteral("Missing end of marker\n\nr<!--###")),
             qPrintable(answerer.last().text));
    QCOMPARE(names(t.root()), (QStringList{QStringLiteral("T"), QStringLiteral("Z"), QString()}));
    QVERIFY(t.findSection(QStringLiteral("T"))->children.empty());
    t.setValue(QStringLiteral("Z"), QStringLiteral("z"));
    QCOMPARE(t.render(), QStringLiteral("PQzE"));
}

void TestCertificateTemplate::clonesAreDeepAndInsertedAfterTheirReference()
{
    CertificateTemplate t;
    t.loadText(QStringLiteral("<table>") + m(QStringLiteral("ROW_START")) + QStringLiteral("<tr><td>")
               + m(QStringLiteral("CELL")) + QStringLiteral("</td></tr>") + m(QStringLiteral("ROW_END"))
               + QStringLiteral("</table>"));
    CertificateSection* first = t.findSection(QStringLiteral("ROW"));
    t.setValue(QStringLiteral("CELL"), QStringLiteral("a"), first);

    std::unique_ptr<CertificateSection> copy = CertificateTemplate::cloneSection(*first);
    QCOMPARE(copy->name, first->name);
    QCOMPARE(copy->prefix, first->prefix);
    QCOMPARE(copy->children.size(), first->children.size());
    QVERIFY(copy->children.at(0).get() != first->children.at(0).get());
    copy->name = QStringLiteral("ROW_2");
    copy->prefix.clear();
    CertificateSection* second = t.insertSectionAfter(std::move(copy), nullptr, first);
    QVERIFY(second);
    // The copy is independent of the section it was made from.
    t.setValue(QStringLiteral("CELL"), QStringLiteral("b"), second);
    QCOMPARE(t.render(), QStringLiteral("<table><tr><td>a</td></tr><tr><td>b</td></tr></table>"));
    QCOMPARE(names(t.root()), (QStringList{QStringLiteral("ROW"), QStringLiteral("ROW_2"), QString()}));

    // A reference that is not a child of the parent: nothing is inserted.
    CertificateSection stranger;
    QVERIFY(!t.insertSectionAfter(CertificateTemplate::cloneSection(*first), nullptr, &stranger));
    QVERIFY(!t.insertSectionAfter(CertificateTemplate::cloneSection(*first), first, second));
    QCOMPARE(t.root()->children.size(), size_t(3));
}

void TestCertificateTemplate::filesAreReadAsUtf8UpToNulAndReloadingForgetsTheOldTree()
{
    CertificateTemplate t;
    const QUrl first = writeFile(QByteArray("<p>\xc2\xb5" "A ") + m(QStringLiteral("V")).toUtf8()
                                 + QByteArray("</p>\0" "<!--###W###-->", 4 + 1 + 14));
    t.load(first);
    QCOMPARE(t.url(), first);
    QCOMPARE(names(t.root()), (QStringList{QStringLiteral("V"), QString()}));
    t.setValue(QStringLiteral("V"), QStringLiteral("1"));
    QCOMPARE(t.render(), QStringLiteral(u"<p>\u00B5A 1</p>"));

    const QUrl second = writeFile(QByteArray("x") + m(QStringLiteral("Q")).toUtf8());
    t.load(second);
    QCOMPARE(names(t.root()), (QStringList{QStringLiteral("Q"), QString()}));
    QCOMPARE(t.render(), QStringLiteral("x"));

    // A missing file is an empty certificate, without a message.
    DialogAnswerer answerer;
    t.load(QUrl::fromLocalFile(TestEnvironment::instance()->newFolder() + QStringLiteral("/none.html")));
    QCOMPARE(t.root()->children.size(), size_t(1));
    QCOMPARE(t.render(), QString());
    QTest::qWait(50);
    QCOMPARE(answerer.count(), 0);
}

void TestCertificateTemplate::deepNestingIsCutAtALimitAndParsedInLinearTime()
{
    DialogAnswerer answerer;
    CertificateTemplate t;
    // A hundred levels are a template like any other.
    t.loadText(nested(100) + QStringLiteral("after"));
    QCOMPARE(depthOf(t.root()), 100);
    QTest::qWait(50);
    QCOMPARE(answerer.count(), 0);

    // Ten thousand levels took half a minute and ended the window's use:
    // the level past the limit is reported and stops, the levels above it
    // and the text after the blocks stay.
    QElapsedTimer clock;
    clock.start();
    t.loadText(QStringLiteral("before") + nested(10000) + QStringLiteral("between") + m(QStringLiteral("T"))
               + QStringLiteral("after"));
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(answerer.waitForCount(1));
    QVERIFY2(answerer.last().text.contains(QStringLiteral("Error in template file. Blocks nested too deeply\n\n")
                                           + m(QStringLiteral("B100_START"))),
             qPrintable(answerer.last().text.left(200)));
    // The hundredth block keeps no sections: its body was the level that stopped.
    QCOMPARE(depthOf(t.root()), 99);
    t.setValue(QStringLiteral("T"), QStringLiteral("t"));
    QCOMPARE(t.render(), QStringLiteral("beforebetweentafter"));
}

PELVANE_TEST_MAIN(TestCertificateTemplate)
#include "TestCertificateTemplate.moc"
