#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementECGPerformanceWaveTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetECGPerformanceWave; }

// An ECG performance test wave: shape, frequency, amplitude and duration.
class TestSequenceWidgetECGPerformanceWave : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetECGPerformanceWave(const Ux::TsqTestSequenceElement* element, QWidget* parent = nullptr);
    ~TestSequenceWidgetECGPerformanceWave() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementECGPerformanceWaveTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetECGPerformanceWave> ui;
};
