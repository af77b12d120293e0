#pragma once

#include <QDoubleValidator>

// The threshold edits read a point whatever the language. Users of comma
// languages type a comma out of habit; a group separator there would be read
// as nothing and make 12,5 into 125, so a comma is taken as the decimal point
// and shown as one, and group separators are refused.
class ThresholdValidator : public QDoubleValidator
{
    Q_OBJECT
public:
    ThresholdValidator(double bottom, double top, int decimals, QObject* parent);

    State validate(QString& input, int& pos) const override;

    // The text of an edit that this validator accepted, as a number.
    static double value(const QString& text);
};
