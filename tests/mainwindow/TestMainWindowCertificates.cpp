#include "assets/AssetTableView.h"
#include "assets/AssetTreeView.h"
#include "certificates/DialogCertificateGenerator.h"
#include "database/SqliteDatabase.h"
#include "mainwindow/MainWindow.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "WindowTestHelpers.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>
#include <memory>

namespace {
enum { Pump1 = 1, Pump2 = 2, MonitorA = 3 };

void startOn(const QString& path)
{
    QSettings settings;
    settings.setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    settings.setValue(QStringLiteral("db/current/type"), 0);
    settings.setValue(QStringLiteral("db/current/fileName"), path);
}
} // namespace

// The generator as a user sees it, for a screenshot: the window on the
// register given as the first argument, Monitor A selected, its generator
// open; the screen is saved to the second argument.
PELVANE_CHILD_SCENARIO(showCertificateGenerator)
{
    if (args.size() < 2 || !QGuiApplication::primaryScreen())
        return 2;
    startOn(args.at(0));
    MainWindow window;
    if (!Database::instance())
        return 1;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    auto* tree = window.findChild<AssetTreeView*>(QStringLiteral("assetTreeView"));
    tree->expandAll();
    tree->selectClient(1);
    window.findChild<AssetTableView*>(QStringLiteral("assetTableView"))->selectAsset(MonitorA);
    // Shown without its own event loop: the child's answerer would close a
    // modal one at once.
    DialogCertificateGenerator generator({MonitorA}, &window);
    generator.show();
    if (!QTest::qWaitForWindowExposed(&generator))
        return 1;
    QTest::qWait(800);
    return QGuiApplication::primaryScreen()->grabWindow(0).save(args.at(1), "PNG") ? 0 : 1;
}

class TestMainWindowCertificates : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void actionSitsInToolsMenuAndSideToolBar();
    void generatorOpensOnTheSelectedAssetsAndRemembersItsState();

private:
    QAction* action() const { return m_window->findChild<QAction*>(QStringLiteral("actionGenerateCertificates")); }
    AssetTableView* table() const { return m_window->findChild<AssetTableView*>(QStringLiteral("assetTableView")); }
    void clickAsset(int assetId, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    DialogAnswerer* m_answerer = nullptr;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindowCertificates::init()
{
    TestEnvironment::clearSettings();
    const QString path = TestEnvironment::instance()->newFolder(QStringLiteral("db")) + QStringLiteral("/register.db");
    QVERIFY(SeededDatabase::createSeeded(path));
    Database::setInstance(nullptr);
    startOn(path);
    m_answerer = new DialogAnswerer(this);
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1000, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(Database::instance());
}

void TestMainWindowCertificates::cleanup()
{
    m_window.reset();
    delete m_answerer;
    m_answerer = nullptr;
    Database::setInstance(nullptr);
}

void TestMainWindowCertificates::clickAsset(int assetId, Qt::KeyboardModifiers modifiers)
{
    clickAssetRow(table(), assetId, modifiers);
}

void TestMainWindowCertificates::actionSitsInToolsMenuAndSideToolBar()
{
    QAction* create = action();
    QVERIFY(create);
    QCOMPARE(create->text(), QStringLiteral("Create Certificates..."));
    QCOMPARE(create->toolTip(), QStringLiteral("Create Certificates"));
    QVERIFY(!create->icon().pixmap(20, 20).isNull());
    QCOMPARE(m_window->action(4), create);

    auto* tools = m_window->findChild<QMenu*>(QStringLiteral("menuTools"));
    const QList<QAction*> entries = tools->actions();
    const qsizetype at = entries.indexOf(create);
    QVERIFY(at >= 2);
    QCOMPARE(entries.at(0)->menu(), m_window->findChild<QMenu*>(QStringLiteral("menuLanguage_Settings")));
    QVERIFY(entries.at(at - 1)->isSeparator());
    QVERIFY(entries.at(at + 1)->isSeparator());

    auto* side = m_window->findChild<QToolBar*>(QStringLiteral("toolBar2"));
    const QList<QAction*> buttons = side->actions();
    const qsizetype button = buttons.indexOf(create);
    QVERIFY(button > 0);
    QVERIFY(buttons.at(button - 1)->isSeparator());
    QCOMPARE(buttons.at(button - 2)->objectName(), QStringLiteral("actionUpload"));
}

void TestMainWindowCertificates::generatorOpensOnTheSelectedAssetsAndRemembersItsState()
{
    m_window->findChild<QTreeView*>(QStringLiteral("assetTreeView"))->expandAll();
    clickAsset(Pump2);
    clickAsset(Pump1, Qt::ControlModifier);
    QVERIFY(action()->isEnabled());

    QString seenPreview;
    QString editedPreview;
    QWidget* parent = nullptr;
    m_answerer->answerNext([&](QWidget* w) {
        auto* generator = qobject_cast<DialogCertificateGenerator*>(w);
        if (!generator)
            return;
        parent = generator->parentWidget();
        seenPreview = generator->previewHtml();
        auto* company = generator->findChild<QLineEdit*>(QStringLiteral("testCompanyName"));
        company->setFocus();
        company->selectAll();
        QTest::keyClicks(company, QStringLiteral("Sparks & Sons"));
        QTest::keyClick(company, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(generator->previewHtml().contains(QStringLiteral("Sparks &amp; Sons")), 2500);
        editedPreview = generator->previewHtml();
        QTest::mouseClick(generator->findChild<QPushButton*>(QStringLiteral("cancelBtn")), Qt::LeftButton);
    });
    action()->trigger();
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().className, QStringLiteral("DialogCertificateGenerator"));
    QCOMPARE(parent, m_window.get());
    // The first of the selected assets, in the order the selection holds them.
    QVERIFY(seenPreview.contains(QStringLiteral("Pump 1")));
    QVERIFY(!seenPreview.contains(QStringLiteral("Pump 2")));
    QVERIFY(editedPreview.contains(QStringLiteral("Sparks &amp; Sons")));

    const QByteArray blob = QSettings().value(QStringLiteral("win/Certificates")).toByteArray();
    QDataStream in(blob);
    QString folder, title, company;
    in >> folder >> title >> company;
    QVERIFY(folder.endsWith(QStringLiteral("/_default (en)/template.html")));
    QCOMPARE(title, QStringLiteral("Electrical Safety Certificate"));
    QCOMPARE(company, QStringLiteral("Sparks & Sons"));
}

PELVANE_TEST_MAIN(TestMainWindowCertificates)
#include "TestMainWindowCertificates.moc"
