#include "sequences/EcgWaveformComboBox.h"

EcgWaveformComboBox::EcgWaveformComboBox(QWidget* parent)
    : FixedListComboBox({tr("Normal Sinus Rhythm"), tr("Atrial Flutter"), tr("Atrial Fibrillation"),
                         tr("Right Bundle Branch Block"), tr("Premature Ventricular Contraction"),
                         tr("Bigeminy"), tr("Ventricular Fibrillation"), tr("Ventricular Tachycardia"),
                         tr("ST Elevation"), tr("ST Depression"), tr("Myocardial Infarction"), tr("Tall T"),
                         tr("Pacer"), tr("R Wave Detection"), tr("Sinus Arrhythmia"), tr("Missing Beat"),
                         tr("Paroxysmal Atrial Tachycardia"), tr("AV Block"), tr("Left Bundle Block"),
                         tr("Left Anterior Hemiblock"), tr("Trigeminy"), tr("Right Focal PVC"),
                         tr("Ventricular Flutter")}, parent)
{
}
