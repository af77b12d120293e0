#include "database/SteppedWrite.h"

#include "database/DatabaseTransaction.h"

#include <QElapsedTimer>
#include <algorithm>

qsizetype SteppedWrite::run(const QList<int>& ids, const std::function<void(const QList<int>&)>& write)
{
    // A step's statements name its ids in the text: a slice stays well
    // within what every back end parses.
    constexpr qsizetype firstSlice = 50;
    constexpr qsizetype largestSlice = 2000;
    qsizetype done = 0;
    qsizetype slice = firstSlice;
    while (done < ids.size()) {
        const QList<int> step = ids.mid(done, slice);
        QElapsedTimer took;
        took.start();
        if (!DatabaseTransaction::run([&](DatabaseTransaction&) { write(step); }))
            return done;
        done += step.size();
        const qint64 elapsed = took.elapsed();
        if (elapsed < stepMilliseconds / 4)
            slice = std::min(slice * 2, largestSlice);
        else if (elapsed > stepMilliseconds)
            slice = std::max<qsizetype>(slice / 2, 1);
    }
    return done;
}
