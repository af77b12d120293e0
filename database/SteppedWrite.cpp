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

qsizetype SteppedWrite::run(const QList<int>& ids, const std::function<void(const QList<int>&)>& write,
                           const std::function<void(qsizetype)>& stored, Progress progress)
{
    if (ids.isEmpty())
        return 0;
    qsizetype done = 0;
    qsizetype taken = 0;
    progress.total = ids.size();
    progress.done = [&done] { return done; };
    repeat(
        [&](qsizetype slice) {
            const QList<int> step = ids.mid(done, slice);
            taken = step.size();
            write(step);
            return done + taken == ids.size();
        },
        [&] {
            done += taken;
            if (stored)
                stored(done);
        },
        progress);
    return done;
}

bool SteppedWrite::repeat(const std::function<bool(qsizetype slice)>& step, const std::function<void()>& stored,
                          const Progress& progress)
{
    Shown shown(progress);
    // A step's statements name its ids in the text: a slice stays well
    // within what every back end parses.
    constexpr qsizetype firstSlice = 50;
    constexpr qsizetype largestSlice = 2000;
    qsizetype slice = firstSlice;
    for (;;) {
        bool last = false;
        QElapsedTimer took;
        took.start();
        if (!DatabaseTransaction::run([&](DatabaseTransaction&) { last = step(slice); }))
            return false;
        stored();
        if (last)
            return true;
        // The next slice is sized for a step of stepMilliseconds, at most
        // twice or half the last: every step also costs its commit, which
        // many small slices would pay over and over.
        const qint64 elapsed = std::max<qint64>(took.elapsed(), 1);
        slice = std::clamp<qsizetype>(slice * stepMilliseconds / elapsed, std::max<qsizetype>(slice / 2, 1),
                                      std::min(slice * 2, largestSlice));
        if (betweenSteps)
            std::exchange(betweenSteps, nullptr)();
        shown.update();
    }
}
