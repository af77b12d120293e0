// Saves a batch of 100 PDF certificates from the certificate window, on the
// default template, and prints how long the window's event loop was kept
// waiting: the longest gap between two turns of a 5 ms timer while the run
// went on, the mean per certificate and the whole run.
//
// Usage: BenchCertificates [--runs N] (BENCH_GAPS=1 lists every gap over 50 ms)

#include "CertificateFixture.h"
#include "certificates/DialogCertificateGenerator.h"
#include "support/DialogAnswerer.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cstdio>

using namespace CertificateFixture;

namespace {

constexpr int Certificates = 100;

struct Run
{
    double longestGapMs = 0;
    double totalMs = 0;
    int files = 0;
};

Run saveBatch(const QList<int>& assets, const QString& folder)
{
    DialogCertificateGenerator dialog(assets);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        qWarning("the certificate window was not shown; the gaps measured may be off");
    QTest::qWait(300); // the first preview, fonts and style loaded

    DialogAnswerer answerer;
    answerer.answerNext([=](QWidget* w) {
        w->findChild<QLineEdit*>(QStringLiteral("directory"))->setText(folder);
        w->findChild<QLineEdit*>(QStringLiteral("fileName"))->setText(QStringLiteral("$(NUM) $(NAME)"));
        w->findChild<QComboBox*>(QStringLiteral("fileType"))->setCurrentIndex(0);
        qobject_cast<QDialog*>(w)->accept();
    });

    Run run;
    QElapsedTimer sinceTick;
    QElapsedTimer total;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (dialog.saveRunning()) {
            const double gap = double(sinceTick.nsecsElapsed()) / 1e6;
            run.longestGapMs = std::max(run.longestGapMs, gap);
            if (qEnvironmentVariableIsSet("BENCH_GAPS") && gap > 50)
                std::printf("gap %.0f ms ending at %.0f ms\n", gap, double(total.nsecsElapsed()) / 1e6);
        }
        sinceTick.start();
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("saveBtn")), Qt::LeftButton);
    total.start();
    sinceTick.start();
    ticker.start();
    while (dialog.saveRunning() && total.elapsed() < 10 * 60 * 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    run.totalMs = double(total.nsecsElapsed()) / 1e6;
    ticker.stop();
    run.files = int(QDir(folder).entryList(QDir::Files).size());
    return run;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

int runBench(int, char**)
{
    int runs = 3;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args.at(i) == QLatin1String("--runs"))
            runs = std::max(1, args.at(i + 1).toInt());

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    SqliteDatabase* db = seeded();
    if (!db)
        return 1;
    addMonitorAResults(db);
    QList<int> assets;
    for (int i = 0; i < Certificates; ++i)
        assets << (i % 5 + 1);

    QList<double> gaps, totals;
    int files = 0;
    for (int r = 0; r < runs; ++r) {
        const Run run = saveBatch(assets, TestEnvironment::instance()->newFolder() + QStringLiteral("/pdf"));
        gaps << run.longestGapMs;
        totals << run.totalMs;
        files = run.files;
    }
    std::printf("\nCertificates, a batch of %d PDFs on the default template (median of %d)\n", Certificates, runs);
    std::printf("  files written                    %d\n", files);
    std::printf("  longest gap of the event loop    %.1f ms   (bound 100 ms)\n", median(gaps));
    std::printf("  whole run                        %.2f s, %.1f ms per certificate (the run waits 100 ms "
                "between certificates)\n",
                median(totals) / 1000.0, median(totals) / Certificates);
    std::fflush(stdout);
    Database::setInstance(nullptr);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return runTestMain(argc, argv, runBench);
}
