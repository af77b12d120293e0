#pragma once

#include <QList>
#include <functional>

// A write over many rows (assets restored, recycled or deleted by the
// thousand) done in whole steps, each its own retried transaction, so that
// no step keeps the write lock from the other workstations for long and
// each leaves the database as consistent as the whole would.
class SteppedWrite
{
public:
    // Runs write over ids in their order, a slice per step; the slices grow
    // while a step is quick and shrink when it is slow. Returns how many of
    // the first ids are stored: all of them, or fewer when the database
    // stayed busy with another workstation's write (or the connection was
    // lost), after which nothing more was tried. stored, when given, is told
    // after each step how many are stored so far.
    static qsizetype run(const QList<int>& ids, const std::function<void(const QList<int>&)>& write,
                         const std::function<void(qsizetype)>& stored = {});

    // The same for rows that each step finds for itself: step runs in a
    // transaction of its own, given the most rows it should take on, until
    // it returns that it took the last; stored follows each step that was
    // stored. step keeps nothing of an attempt but what it reads again (see
    // DatabaseTransaction::run). False when the database stayed busy with
    // another workstation's write, after which nothing more was tried.
    static bool repeat(const std::function<bool(qsizetype slice)>& step, const std::function<void()>& stored);

    // What one step should hold the lock for at most, in milliseconds.
    static constexpr int stepMilliseconds = 250;

    // Set by a test, run once between the next two steps, when no transaction
    // is open, to meet another workstation's write there.
    static inline std::function<void()> betweenSteps;
};
