#include "database/SteppedWrite.h"

#include "core/Error.h"
#include "database/Database.h"
#include "database/DatabaseTransaction.h"
#include "database/DialogProgress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <memory>
#include <utility>

namespace {
// The dialog of a write of more than one step, shown after its first.
class Shown
{
public:
    explicit Shown(const SteppedWrite::Progress& progress) : m_progress(progress) {}

    void update()
    {
        // Nothing waits for the user while a transaction is open: a write
        // run inside another's gives the window no turn.
        const Database* db = Database::instance();
        if (!m_progress.text || !qobject_cast<QApplication*>(QCoreApplication::instance())
            || QThread::currentThread() != QCoreApplication::instance()->thread()
            || (db && DatabaseTransaction::isOpen(db->connection())))
            return;
        if (!m_dialog) {
            m_dialog = std::make_unique<DialogProgress>(m_progress.title, Error::dialogParent());
            // A write stopped halfway is told as a busy database's is; the
            // user is offered no other stop.
            if (QWidget* abort = m_dialog->findChild<QWidget*>(QStringLiteral("abortButton")))
                abort->hide();
            m_dialog->setWindowModality(Qt::ApplicationModal);
            m_dialog->show();
        }
        const qsizetype done = m_progress.done ? m_progress.done() : 0;
        if (m_progress.total > 0)
            m_dialog->updateProgress(float(double(done) / double(m_progress.total)));
        m_dialog->setInfo(1, m_progress.text(done));
        QCoreApplication::processEvents();
    }

private:
    const SteppedWrite::Progress& m_progress;
    std::unique_ptr<DialogProgress> m_dialog;
};
} // namespace

namespace {
// A step's statements name its ids in the text: a part stays well within
// what every back end parses.
constexpr qsizetype firstSlice = 50;
constexpr qsizetype largestSlice = 2000;

// The next slice, sized for milliseconds from the last one's time, at most
// twice or half the last.
qsizetype nextSlice(qsizetype slice, qint64 tookMs, int milliseconds)
{
    const qint64 elapsed = std::max<qint64>(tookMs, 1);
    return std::clamp<qsizetype>(slice * milliseconds / elapsed, std::max<qsizetype>(slice / 2, 1),
                                 std::min(slice * 2, largestSlice));
}
} // namespace

qsizetype SteppedWrite::run(const QList<int>& ids, const std::function<qsizetype(const QList<int>&)>& write,
                           const std::function<void(qsizetype, qsizetype)>& stored, Progress progress)
{
    if (ids.isEmpty())
        return 0;
    qsizetype done = 0;
    qsizetype changed = 0;
    qsizetype taken = 0;
    qsizetype stepChanged = 0;
    progress.total = ids.size();
    progress.done = [&done] { return done; };
    repeat(
        [&](qsizetype slice, bool firstPart) {
            if (firstPart) {
                taken = 0;
                stepChanged = 0;
            }
            const QList<int> part = ids.mid(done + taken, slice);
            stepChanged += write(part);
            taken += part.size();
            return done + taken == ids.size();
        },
        [&] {
            done += taken;
            changed += stepChanged;
            if (stored)
                stored(done, changed);
        },
        progress);
    return done;
}

bool SteppedWrite::repeat(const std::function<bool(qsizetype, bool)>& part, const std::function<void()>& stored,
                          const Progress& progress)
{
    Shown shown(progress);
    qsizetype slice = firstSlice;
    // The last commit's time, which the next step leaves room for.
    qint64 commitMs = 0;
    for (bool firstStep = true;; firstStep = false) {
        bool last = false;
        qint64 partsMs = 0;
        QElapsedTimer took;
        took.start();
        const qint64 budget = std::max<qint64>(stepMilliseconds - commitMs, partMilliseconds);
        const bool storedStep = DatabaseTransaction::run([&](DatabaseTransaction&) {
            bool firstPart = true;
            // The next part may take as long as the slowest of the step's.
            qint64 longestPart = partMilliseconds;
            // A write's first step is a single part: its commit's time, which
            // the later steps leave room for, is not known before.
            do {
                QElapsedTimer one;
                one.start();
                last = part(slice, std::exchange(firstPart, false));
                longestPart = std::max(longestPart, one.elapsed());
                slice = nextSlice(slice, one.elapsed(), partMilliseconds);
            } while (!last && !firstStep && took.elapsed() + longestPart <= budget);
            partsMs = took.elapsed();
        });
        if (!storedStep)
            return false;
        commitMs = took.elapsed() - partsMs;
        stored();
        if (last)
            return true;
        if (betweenSteps)
            std::exchange(betweenSteps, nullptr)();
        shown.update();
    }
}
