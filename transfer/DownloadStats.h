#pragma once

#include <QtGlobal>

// What one download brought, counted per record. The starter of a download
// makes it zero-filled, the download counts into it, the report reads it.
struct DownloadStats
{
    enum Counter {
        GlobalSequences = 0, // test-sequence records imported
        Pass = 1,            // asset records with overall result Pass
        Fail = 2,            // ... Fail
        Alert = 3,           // ... drifted from the previous result set
        AlreadyStored = 4,   // ... whose result set was already in the database
        Other = 5,           // ... without results, or with any other outcome
        CounterCount = 6
    };

    qint32 counters[CounterCount] = {};

    qint32& operator[](int counter) { return counters[counter]; }
    qint32 operator[](int counter) const { return counters[counter]; }
};
