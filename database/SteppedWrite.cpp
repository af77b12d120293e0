#include "database/SteppedWrite.h"

#include "database/DatabaseTransaction.h"

#include <QElapsedTimer>
#include <algorithm>
#include <utility>

qsizetype SteppedWrite::run(const QList<int>& ids, const std::function<void(const QList<int>&)>& write,
                           const std::function<void(qsizetype)>& stored)
{
    if (ids.isEmpty())
        return 0;
    qsizetype done = 0;
    qsizetype taken = 0;
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
        });
    return done;
}

bool SteppedWrite::repeat(const std::function<bool(qsizetype slice)>& step, const std::function<void()>& stored)
{
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
        const qint64 elapsed = took.elapsed();
        if (elapsed < stepMilliseconds / 4)
            slice = std::min(slice * 2, largestSlice);
        else if (elapsed > stepMilliseconds)
            slice = std::max<qsizetype>(slice / 2, 1);
        if (betweenSteps)
            std::exchange(betweenSteps, nullptr)();
    }
}
