#pragma once

#include "sequences/OCurveFile.h"

#include <QObject>
#include <functional>

class GraphWidget;
class QComboBox;
class QLabel;
class QWidget;

// The fields of a blood-pressure element that an O-curve choice sets.
struct OCurveFields
{
    quint16* systolic;
    quint16* diastolic;
    quint8* adultInfant;  // 180 adult, 30 infant; above 45 reads as adult
    QString* monitorName;
    OCurveFile::Table* curve;
};

// The monitor, patient size and pressure choice of the O-curve editors and
// their curve graph. A choice is taken whole or not at all: the element gets
// the monitor, the side, the pressure pair and the points of the chosen file
// together, and when the file cannot be used nothing of it changes.
class OCurvePicker : public QObject
{
    Q_OBJECT
public:
    // Fills the widgets from the element without changing it, and creates the
    // element's own curve file when it is missing. adult is the side shown
    // at first.
    OCurvePicker(const OCurveFields& fields, QComboBox* monitor, QComboBox* adultInfant, QComboBox* pressure,
                 GraphWidget* graph, QLabel* notice, QWidget* editor, bool adult);

    // Runs after a change of side has been taken, before modified().
    void setSideTaken(std::function<void(bool adult)> sideTaken) { m_sideTaken = std::move(sideTaken); }

    QString curveDirectory() const;
    QString curveFileName() const;

signals:
    void modified();

public slots:
    bool monitorIndexChanged(int index);
    void pressureIndexChanged(int index);
    void adultInfantIndexChanged(int index);

private:
    bool adultChosen() const;
    // Lists the curve files of a monitor folder and side; false when there is none.
    bool listPressures(int monitorIndex, bool adult);
    // Takes the curve of the listed entry; false (the user told) when its
    // file cannot be read.
    bool take(int pressureIndex, const QString& monitor, bool adult);
    // Puts the widgets back to what the element holds.
    void showElement();
    void ensureCurveFile();
    void drawCurve();
    void refuse(const QString& why);

    OCurveFields m_fields;
    QComboBox* m_monitor;
    QComboBox* m_adultInfant;
    QComboBox* m_pressure;
    GraphWidget* m_graph;
    QLabel* m_notice;
    QWidget* m_editor;
    std::function<void(bool)> m_sideTaken;
    int m_pointCount = 0;
};
