#include "sequences/OCurvePicker.h"

#include "assets/GraphWidget.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QSignalBlocker>

OCurvePicker::OCurvePicker(const OCurveFields& fields, QComboBox* monitor, QComboBox* adultInfant,
                           QComboBox* pressure, GraphWidget* graph, QLabel* notice, QWidget* editor, bool adult)
    : QObject(editor), m_fields(fields), m_monitor(monitor), m_adultInfant(adultInfant), m_pressure(pressure),
      m_graph(graph), m_notice(notice), m_editor(editor)
{
    m_notice->hide();
    m_pointCount = OCurveFile::pointCount(*m_fields.curve);
    ensureCurveFile();
    m_adultInfant->setCurrentIndex(adult ? 0 : 1);
    for (const QFileInfo& folder : OCurveFile::monitors()) {
        m_monitor->addItem(folder.fileName(), folder.absoluteFilePath());
        if (folder.fileName() == *m_fields.monitorName)
            m_monitor->setCurrentIndex(m_monitor->count() - 1);
    }
    if (!listPressures(m_monitor->currentIndex(), adult)) {
        QMessageBox::information(m_editor, QString(),
                                 tr("No CSV files found in the directory. Reverting to previous selection."));
    }
    connect(m_monitor, &QComboBox::currentIndexChanged, this, &OCurvePicker::monitorIndexChanged);
    connect(m_adultInfant, &QComboBox::currentIndexChanged, this, &OCurvePicker::adultInfantIndexChanged);
    connect(m_pressure, &QComboBox::currentIndexChanged, this, &OCurvePicker::pressureIndexChanged);
    // The points shown are the element's own: a file that differs from them
    // is only taken when the user chooses it, so that opening a sequence
    // never changes it.
    drawCurve();
}

QString OCurvePicker::curveDirectory() const
{
    return OCurveFile::directory(*m_fields.monitorName, OCurveFile::isAdult(*m_fields.adultInfant));
}

QString OCurvePicker::curveFileName() const
{
    return OCurveFile::fileName(*m_fields.systolic, *m_fields.diastolic);
}

bool OCurvePicker::adultChosen() const
{
    return m_adultInfant->currentIndex() == 0;
}

void OCurvePicker::ensureCurveFile()
{
    if (!OCurveFile::isPlainName(*m_fields.monitorName)) {
        m_notice->setText(tr("The monitor name \"%1\" cannot name a curve folder: no curve file is read or written "
                             "for it. Choose a monitor to take a curve.")
                              .arg(*m_fields.monitorName));
        m_notice->show();
        return;
    }
    const QString path = curveDirectory() + curveFileName();
    if (QFileInfo::exists(path))
        return;
    QString why;
    if (!OCurveFile::write(path, *m_fields.curve, &why)) {
        m_notice->setText(why);
        m_notice->show();
    }
}

bool OCurvePicker::listPressures(int monitorIndex, bool adult)
{
    const QSignalBlocker blocker(m_pressure);
    m_pressure->clear();
    if (monitorIndex < 0)
        return false;
    const QString folder = QStringLiteral("%1/%2").arg(m_monitor->itemData(monitorIndex).toString(),
                                                       adult ? QStringLiteral("Adult") : QStringLiteral("Infant"));
    const QFileInfoList files = OCurveFile::curves(folder);
    int current = 0;
    for (const QFileInfo& file : files) {
        const int systolic = OCurveFile::systolicOf(file.fileName());
        const int diastolic = OCurveFile::diastolicOf(file.fileName());
        m_pressure->addItem(QStringLiteral("%1/%2").arg(systolic).arg(diastolic), file.absoluteFilePath());
        if (systolic == *m_fields.systolic && diastolic == *m_fields.diastolic)
            current = m_pressure->count() - 1;
    }
    m_pressure->setCurrentIndex(files.isEmpty() ? -1 : current);
    return !files.isEmpty();
}

void OCurvePicker::showElement()
{
    const QSignalBlocker monitorBlocker(m_monitor);
    const QSignalBlocker sideBlocker(m_adultInfant);
    const int monitor = m_monitor->findText(*m_fields.monitorName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (monitor >= 0)
        m_monitor->setCurrentIndex(monitor);
    const bool adult = OCurveFile::isAdult(*m_fields.adultInfant);
    m_adultInfant->setCurrentIndex(adult ? 0 : 1);
    listPressures(m_monitor->currentIndex(), adult);
}

void OCurvePicker::refuse(const QString& why)
{
    showElement();
    QMessageBox::warning(m_editor, QString(), why);
}

bool OCurvePicker::take(int pressureIndex, const QString& monitor, bool adult)
{
    const QStringList pair = m_pressure->itemText(pressureIndex).split(QLatin1Char('/'));
    if (pair.size() < 2)
        return false;
    const int systolic = pair.at(0).toInt();
    const int diastolic = pair.at(1).toInt();
    if (systolic == 0 || diastolic == 0)
        return false;
    OCurveFile::Table table = {};
    int count = 0;
    QString why;
    if (!OCurveFile::read(m_pressure->itemData(pressureIndex).toString(), table, &count, &why)) {
        refuse(why);
        return false;
    }
    *m_fields.monitorName = monitor;
    *m_fields.adultInfant = adult ? 180 : 30;
    *m_fields.systolic = quint16(systolic);
    *m_fields.diastolic = quint16(diastolic);
    std::copy(&table[0][0], &table[0][0] + OCurveFile::Points * 2, &(*m_fields.curve)[0][0]);
    m_pointCount = count;
    m_notice->hide();
    drawCurve();
    return true;
}

bool OCurvePicker::monitorIndexChanged(int index)
{
    if (!listPressures(index, adultChosen())) {
        QMessageBox::information(m_editor, QString(),
                                 tr("No CSV files found in the directory. Reverting to previous selection."));
        showElement();
        return false;
    }
    if (!take(m_pressure->currentIndex(), m_monitor->itemText(index), adultChosen())) {
        showElement();
        return false;
    }
    emit modified();
    return true;
}

void OCurvePicker::pressureIndexChanged(int index)
{
    if (index < 0)
        return;
    if (take(index, m_monitor->currentText(), adultChosen()))
        emit modified();
}

void OCurvePicker::adultInfantIndexChanged(int)
{
    const bool adult = adultChosen();
    if (!listPressures(m_monitor->currentIndex(), adult)) {
        QMessageBox::information(m_editor, QString(),
                                 tr("No CSV files found in the directory. Reverting to previous selection."));
        showElement();
        return;
    }
    if (!take(m_pressure->currentIndex(), m_monitor->currentText(), adult)) {
        showElement();
        return;
    }
    if (m_sideTaken)
        m_sideTaken(adult);
    emit modified();
}

void OCurvePicker::drawCurve()
{
    m_graph->clear();
    for (int i = 0; i < m_pointCount; ++i)
        m_graph->addPoint(QPointF((*m_fields.curve)[i][0], (*m_fields.curve)[i][1]));
    m_graph->repaint();
}
