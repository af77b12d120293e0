#include "sequences/TestSequenceWidgetECGPerformanceWave.h"

#include "ui_TestSequenceWidgetECGPerformanceWave.h"

TestSequenceWidgetECGPerformanceWave::TestSequenceWidgetECGPerformanceWave(const Ux::TsqTestSequenceElement* element, QWidget* parent)
    : TestSequenceWidget(parent), m_element(as<Ux::TsqTestSequenceElementECGPerformanceWaveTest>(element)), ui(std::make_unique<Ui::TestSequenceWidgetECGPerformanceWave>())
{
    ui->setupUi(this);
    bindIndex(ui->waveform, m_element.waveform);
    limitDecimal(ui->waveFrequency, 0.1, 100.0, 1);
    // The frequency is taken when the field is left, not at every key.
    bindLineEdit(ui->waveFrequency, QStringLiteral("%1").arg(m_element.waveFrequency, 0, 'f', 1), EditingFinished,
                 [this](const QString& text) { m_element.waveFrequency = text.toDouble(); });
    bindIndex(ui->waveAmplitude, m_element.waveAmplitude);
    bindInteger(ui->duration, m_element.duration);
}

TestSequenceWidgetECGPerformanceWave::~TestSequenceWidgetECGPerformanceWave() = default;
