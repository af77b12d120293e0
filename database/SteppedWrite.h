#pragma once

#include <QList>
#include <QString>
#include <functional>

// What the window shows while a write it started runs on its thread. Its
// steps run one after another, and between two of them, when no
// transaction is open, the window paints and a modal dialog, titled
// title, tells how far the write is: done's count of total, in the words
// text gives the count. The dialog lets the user start nothing else and
// change no selection meanwhile. Without text (or off the window's
// thread) the steps run without a turn of the event loop.
struct SteppedWriteProgress
{
    QString title;
    qsizetype total = 0;
    std::function<QString(qsizetype done)> text;
    std::function<qsizetype()> done; // run() counts for itself
};

// A write over many rows (assets restored, recycled or deleted by the
// thousand) done in whole steps, each its own retried transaction, so that
// no step keeps the write lock from the other workstations for long and
// each leaves the database as consistent as the whole would.
class SteppedWrite
{
public:
    using Progress = SteppedWriteProgress;

    // Runs write over ids in their order, a part at a time (see repeat());
    // write returns how many of its ids it changed. Returns how many of the
    // first ids are stored: all of them, or fewer when the database stayed
    // busy with another workstation's write (or the connection was lost),
    // after which nothing more was tried. stored, when given, is told after
    // each step how many ids are stored so far and how many of them were
    // changed.
    static qsizetype run(const QList<int>& ids, const std::function<qsizetype(const QList<int>&)>& write,
                         const std::function<void(qsizetype stored, qsizetype changed)>& stored = {},
                         Progress progress = {});

    // The same for rows that each part finds for itself: part is given the
    // most rows it should take on, until it returns that it took the last.
    // Each step is a transaction of its own that runs parts until the step
    // has had its time, the first part of an attempt told so (see
    // DatabaseTransaction::run: it keeps nothing of an earlier attempt but
    // what it reads again); the parts grow while they are quick and shrink
    // when they are slow. stored follows each step that was stored. False
    // when the database stayed busy with another workstation's write, after
    // which nothing more was tried.
    static bool repeat(const std::function<bool(qsizetype slice, bool firstPart)>& part,
                       const std::function<void()>& stored, const Progress& progress = {});

    // What one step should hold the lock for, in milliseconds, its commit
    // included: the window waits for it too.
    static constexpr int stepMilliseconds = 50;
    // What one part should take: a step that meets a slower database ends
    // within a part of its time, not a multiple of it.
    static constexpr int partMilliseconds = 10;

    // Set by a test, run once between the next two steps, when no transaction
    // is open, to meet another workstation's write there.
    static inline std::function<void()> betweenSteps;
};
