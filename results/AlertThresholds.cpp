#include "results/AlertThresholds.h"

#include <QDataStream>
#include <QIODevice>

double AlertThresholds::values[AlertThresholds::Count] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};

bool AlertThresholds::forCategory(int category, double* relative, double* absolute)
{
    if (category < 1 || category > 3)
        return false;
    const int first = (category - 1) * 2;
    *relative = values[first];
    *absolute = values[first + 1];
    return true;
}

QByteArray AlertThresholds::save()
{
    QByteArray blob;
    QDataStream out(&blob, QIODevice::WriteOnly);
    out.setFloatingPointPrecision(QDataStream::DoublePrecision);
    for (double value : values)
        out << value;
    return blob;
}

void AlertThresholds::load(const QByteArray& blob)
{
    QDataStream in(blob);
    in.setFloatingPointPrecision(QDataStream::DoublePrecision);
    for (double& value : values) {
        double read = 0.0;
        in >> read;
        value = in.status() == QDataStream::Ok ? read : 0.0;
    }
}
