#pragma once

#include <QByteArray>

// The six process-wide comparison-alert thresholds. Relative ones are
// fractions (0.10 = 10 %), absolute ones are in the unit the Result table
// holds for the category; 0 (or below) turns that half of a test off.
class AlertThresholds
{
public:
    AlertThresholds() = delete;

    enum Index {
        ResistanceRelative = 0,
        ResistanceAbsolute = 1,
        InsulationRelative = 2,
        InsulationAbsolute = 3,
        LeakageRelative = 4,
        LeakageAbsolute = 5,
        Count = 6
    };

    // Read and written directly, one field at a time, by the alerts dialog.
    static double values[Count];

    // The pair used for a catalogue category (1 earth bond, 2 insulation,
    // 3 leakage); false for any category without thresholds.
    static bool forCategory(int category, double* relative, double* absolute);

    // Six big-endian doubles in the order of Index, 48 bytes.
    static QByteArray save();
    // Replaces all six; a value the blob is too short for becomes 0.
    static void load(const QByteArray& blob);
};
