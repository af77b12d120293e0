#include "portwell/TForm1.h"

#include "portwell/LanguageTables.h"
#include "portwell/ShowException.h"
#include "portwell/TAboutBox.h"
#include "ui_TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QStatusBar>
#include <QTime>
#include <QTimer>

#include <limits>

using LanguageTables::GetLangString;

namespace {

const char Stx = 0x02;
const char Etx = 0x03;
const char Lf = 0x0A;
const char Ack = 0x06;
const char Nak = 0x15;
const char Command = 'L';
const int LinesPerBlock = 25;
const int SilentSeconds = 30;
const int MaxFailures = 5;
const int RawChunk = 100;

const QString DefaultPort = QStringLiteral("ttyS0");
const QString ConfigName = QStringLiteral("btd.cfg");

QString text(int index)
{
    return GetLangString(index, 0);
}

// Seconds shown as a time of day.
QString timeText(qint64 milliseconds)
{
    if (milliseconds < 0)
        milliseconds = 0;
    return QTime(0, 0).addMSecs(int(milliseconds % (24 * 3600 * 1000))).toString(QStringLiteral("HH:mm:ss"));
}

template <typename T>
void increment(T& counter)
{
    if (counter < std::numeric_limits<T>::max())
        ++counter;
}

// Port names come from the device folder; the combo and the configuration
// show them without it, as users know them.
QString deviceFor(const QString& name)
{
    return name.startsWith(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
}

// A name counts from its first letter (or from a full path's first slash);
// whatever stands before it, a stray space say, is dropped.
QString trimmedPortName(const QString& name)
{
    for (int i = 0; i < name.size(); ++i) {
        if (name.at(i).isLetter() || name.at(i) == QLatin1Char('/'))
            return name.mid(i);
    }
    return QString();
}

} // namespace

TForm1::TForm1(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), ui(new Ui::TForm1), ComPort(this)
{
    ui->setupUi(this);
    setCentralWidget(ui->clientArea);
    m_startFolder = QDir::currentPath();

    m_statusPanel0 = new QLabel(QStringLiteral("Capture OFF"), this);
    m_statusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    m_statusPanel0->setFixedWidth(120);
    m_statusPanel0->setAlignment(Qt::AlignCenter);
    m_statusPanel1 = new QLabel(QStringLiteral("File Name"), this);
    m_statusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    m_statusPanel1->setMinimumWidth(50);
    ui->StatusBar->addWidget(m_statusPanel0);
    ui->StatusBar->addWidget(m_statusPanel1, 1);
    ui->StatusBar->setFixedHeight(23);
    // A fixed border: the window keeps the size of its controls.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setNameFilters({QStringLiteral("Firmware Files ( .mhx,.hex) (*.Mhx *.mhx *.MHX *.hex *.HEX)"),
                                 QStringLiteral("Motorolla S Files (*.MHX *.mhx)"),
                                 QStringLiteral("All Files (*)")});
    OpenDialog2 = new QFileDialog(this);
    OpenDialog2->setObjectName(QStringLiteral("OpenDialog2"));
    OpenDialog2->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog2->setFileMode(QFileDialog::ExistingFile);
    OpenDialog2->setNameFilters({QStringLiteral("Bitmap files (*.bmp *.BMP)"), QStringLiteral("All Files (*)")});
    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setNameFilters({QStringLiteral("*.txt (*.txt)"), QStringLiteral("*.csv (*.csv)"),
                                 QStringLiteral("Others (*)")});
    SaveDialog1->setDefaultSuffix(QStringLiteral("txt"));

    SecondTimer = new QTimer(this);
    SecondTimer->setObjectName(QStringLiteral("SecondTimer"));
    SecondTimer->setInterval(1000);
    HundredMsTimer = new QTimer(this);
    HundredMsTimer->setObjectName(QStringLiteral("HundredMsTimer"));
    HundredMsTimer->setInterval(100);

    ComPort.setObjectName(QStringLiteral("ComPort"));
    ComPort.SetCustomBaudRate(57600);
    ComPort.BufferSizes().SetInput(16384);
    ComPort.BufferSizes().SetOutput(16384);
    ComPort.FlowControl().SetXOnXOff(ComPortTypes::xcDisable);
    ComPort.SetOptions({});
    ComPort.SetPriorityClass(ComPortTypes::pcNormal);
    ComPort.SetThreadPriority(QThread::NormalPriority);
    ComPort.SetDeviceName(QStringLiteral("/dev/ttyS2"));
    ComPort.SetOnRxChar([this] { ComPortRxChar(); });
    ComPort.SetAfterClose([this] { portClosed(); });
    // A port lost under a job: its one message also says that the job stopped.
    ComPort.SetOnError([this](const EComError& error, bool& silent) {
        if (!error.DeviceLost() || !jobLostPort)
            return;
        jobLostPort = false;
        silent = true;
        ShowException(EComError(error.ErrorCode(), error.Message() + QStringLiteral("\n\nThe upload stopped.")));
    });

    auto guarded = [](auto handler) { return [handler] { RunGuarded(handler); }; };
    connect(ui->mOpenFile, &QAction::triggered, this, guarded([this] { mOpenFileClick(); }));
    connect(ui->mBitMap, &QAction::triggered, this, guarded([this] { mBitMapClick(); }));
    connect(ui->mExit, &QAction::triggered, this, guarded([this] { mExitClick(); }));
    connect(ui->mStartCapture, &QAction::triggered, this, guarded([this] { mStartCaptureClick(); }));
    connect(ui->mStopCapture, &QAction::triggered, this, guarded([this] { mStopCaptureClick(); }));
    connect(ui->mAbout, &QAction::triggered, this, guarded([this] { mAboutClick(); }));
    connect(ui->cbComPorts, &QComboBox::activated, this, guarded([this] { cbComPortsChange(); }));
    connect(ui->configureComPortButton, &QPushButton::clicked, this,
            guarded([this] { configureComPortButtonClick(); }));
    connect(SecondTimer, &QTimer::timeout, this, guarded([this] { SecondTimerTimer(); }));
    connect(HundredMsTimer, &QTimer::timeout, this, guarded([this] { HundredMsTimerTimer(); }));

    lastGoodPort = DefaultPort;
    awaitingReply = false;
    SecondTimer->stop();
    elapsedSeconds = ackCount = retryCount = linesSent = secondsSinceSend = 0;
    consecutiveRetries = 0;
    captureOn = false;
    transferActive = false;

    QStringList ports;
    TComPort::EnumComDevicesFromRegistry(ports);
    ports.sort(Qt::CaseInsensitive);
    ui->cbComPorts->addItems(ports);
    ui->cbComPorts->setCurrentIndex(-1);
    updatePortControls();

    readConfig();
    SetCaptions();
    if (arguments.size() > 1 && arguments.at(1).toLower() == QLatin1String("export"))
        LanguageTables::ExportLangStrings();
    HundredMsTimer->stop();

    m_aboutBox = new TAboutBox(this);
}

TForm1::~TForm1()
{
    shutDown();
    delete ui;
}

QString TForm1::configFileName() const
{
    return QDir(m_startFolder).filePath(ConfigName);
}

void TForm1::readConfig()
{
    // Only the folder the tool was started in: a file anywhere else would
    // become the default of every folder.
    const bool found = m_config.load(configFileName());
    QString port = DefaultPort;
    if (found) {
        const QString path = m_config.lastFilePath();
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        const QString folder = slash < 0 ? QString() : path.left(slash);
        const QString name = path.mid(slash + 1);
        for (QFileDialog* dialog : {OpenDialog1, OpenDialog2}) {
            if (!folder.isEmpty())
                dialog->setDirectory(folder);
            if (!name.isEmpty())
                dialog->selectFile(name);
        }
        if (!m_config.portName().isEmpty())
            port = m_config.portName();
    }
    RunGuarded([this, port] { TryToSetPort(port); });
}

void TForm1::SaveConfig()
{
    m_config.save(configFileName());
}

void TForm1::SetCaptions()
{
    ui->mFile->setTitle(text(2));
    ui->mOpenFile->setText(text(3));
    ui->mBitMap->setText(text(4));
    ui->mExit->setText(text(5));
    ui->mCapture->setTitle(text(6));
    ui->mStartCapture->setText(text(7));
    ui->mStopCapture->setText(text(8));
    ui->mHelp->setTitle(text(9));
    ui->mAbout->setText(text(10));
    ui->Label1->setText(text(12));
    ui->gbDownloadProgress->setTitle(text(13));
    ui->Label7->setText(text(14));
    ui->gbInData->setTitle(text(16));
    ui->lStatus->setText(text(15));
    ui->configureComPortButton->setText(text(36));
    m_statusPanel0->setText(text(34));
    ui->debugLabel2->setText(QString());
    ui->debugLabel3->setText(QString());
}

// --- messages --------------------------------------------------------------------

void TForm1::showMessage(int textIndex, int captionIndex)
{
    showMessage(text(textIndex), captionIndex);
}

void TForm1::showMessage(const QString& message, int captionIndex)
{
    QMessageBox box(QMessageBox::NoIcon, text(captionIndex), message, QMessageBox::Ok, this);
    box.exec();
}

bool TForm1::askRestart()
{
    QMessageBox box(QMessageBox::Question, text(38), text(39), QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

bool TForm1::mayStart()
{
    if (!transferActive)
        return true;
    if (!askRestart())
        return false;
    // The running job ends here, whether or not a file is chosen next.
    stopJobs();
    showReady();
    return true;
}

void TForm1::showReady()
{
    ui->lStatus->setText(text(15));
    ui->pbDownload->setValue(0);
    ui->lPercentDone->setText(QStringLiteral("0 %"));
    ui->lTimePassed->setText(QStringLiteral("00:00:00"));
    ui->lTimeEstimate->setText(QStringLiteral("00:00:00"));
    setTitle(QStringLiteral("Portwell"));
}

void TForm1::showAbandoned()
{
    ui->lTimeEstimate->setText(QStringLiteral("00:00:00"));
    ui->lStatus->setText(text(28));
    ui->pbDownload->setValue(0);
    ui->lPercentDone->setText(QStringLiteral("0%"));
    setTitle(QStringLiteral("Portwell 0%"));
}

void TForm1::setTitle(const QString& title)
{
    setWindowTitle(title);
}

void TForm1::setProgress(qint64 done, qint64 size)
{
    // A file of one byte or none is all there at once.
    const int position =
        size <= 1 ? 100 : int(qBound<qint64>(qint64(0), done * 100 / (size - 1), qint64(100)));
    ui->pbDownload->setValue(position);
    const QString percent = QString::number(ui->pbDownload->value()) + QStringLiteral(" %");
    ui->lPercentDone->setText(percent);
    setTitle(QStringLiteral("Portwell ") + percent);
}

// --- port -------------------------------------------------------------------------

void TForm1::updatePortControls()
{
    // No port change while a job or a capture uses the port.
    const bool enabled = !transferActive && !captureOn;
    ui->cbComPorts->setEnabled(enabled);
    ui->configureComPortButton->setEnabled(enabled);
}

void TForm1::TryToSetPort(QString name)
{
    name = trimmedPortName(name);
    const int index = name.isEmpty() ? -1 : ui->cbComPorts->findText(name);
    if (index < 0) {
        showMessage(31, 37);
        ui->cbComPorts->setCurrentIndex(-1);
        ui->cbComPorts->setPlaceholderText(text(11));
        return;
    }
    ComPort.Close();
    ComPort.SetDeviceName(deviceFor(name));
    try {
        ComPort.Open();
    } catch (const std::exception& error) {
        // A port the system refuses this user is not just unavailable: the
        // user is told how to be let in.
        const auto* comError = dynamic_cast<const EComError*>(&error);
        showMessage(comError && comError->AccessDenied() ? comError->Message() : text(31), 37);
        ComPort.SetDeviceName(deviceFor(lastGoodPort));
        ComPort.Open();
    }
    lastGoodPort = trimmedPortName(TCustomComPort::ShortDeviceName(ComPort.DeviceName()));
    m_config.setPortName(lastGoodPort);
    SaveConfig();
    QSignalBlocker block(ui->cbComPorts);
    ui->cbComPorts->setCurrentIndex(ui->cbComPorts->findText(lastGoodPort));
}

void TForm1::cbComPortsChange()
{
    TryToSetPort(ui->cbComPorts->currentText());
}

void TForm1::configureComPortButtonClick()
{
    ComPort.ConfigDialog(this);
}

// --- firmware upload ----------------------------------------------------------------

void TForm1::stopJobs()
{
    SecondTimer->stop();
    HundredMsTimer->stop();
    awaitingReply = false;
    transferActive = false;
    updatePortControls();
}

void TForm1::portClosed()
{
    // The port closes under a job only when its device has gone, and it has
    // said so itself: nothing written from now on could arrive.
    if (!transferActive)
        return;
    jobLostPort = true;
    stopJobs();
    showAbandoned();
}

void TForm1::mOpenFileClick()
{
    if (!mayStart())
        return;
    writeFailures = 0;
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty())
        return;
    const QString path = OpenDialog1->selectedFiles().constFirst();
    if (ComPort.Active())
        ComPort.ClearOutput();
    m_config.setLastFilePath(path);
    SaveConfig();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(40, 38);
        return;
    }
    fileBuffer = file.readAll();
    fileSize = fileBuffer.size();
    file.close();

    ui->pbDownload->setValue(0);
    ui->lPercentDone->setText(QStringLiteral("0 %"));
    readPos = 0;
    elapsedSeconds = 0;
    buildFirstBlock();
    ackCount = retryCount = linesSent = 0;
    consecutiveRetries = 0;
    secondsSinceSend = 0;
    writeBlock();
    writeFailures = 0;
    transferActive = true;
    updatePortControls();
    SecondTimer->start();
    ui->lStatus->setText(text(32));
    // The tester answers the first block once it has erased its memory; a
    // resend before that has nothing to repeat.
    txLength = 0;
    awaitingReply = true;
}

void TForm1::buildFirstBlock()
{
    txBlock.clear();
    txBlock.append(Stx).append(Command).append(QByteArray::number(fileSize)).append(Lf);
    int lines = 0;
    while (readPos < fileSize) {
        const char c = fileBuffer.at(readPos++);
        if (c != Lf) {
            txBlock.append(c);
            continue;
        }
        ++linesSent;
        if (++lines == LinesPerBlock)
            break;
    }
    txBlock.append(Etx);
    txLength = int(txBlock.size());
}

void TForm1::buildNextBlock()
{
    txBlock.clear();
    txBlock.append(Stx);
    int lines = 0;
    // Up to the end of the data, so that a last line without its line feed
    // goes out too.
    while (readPos < fileSize) {
        const char c = fileBuffer.at(readPos++);
        if (c != Lf) {
            txBlock.append(c);
            continue;
        }
        increment(linesSent);
        if (++lines == LinesPerBlock)
            break;
    }
    txBlock.append(Etx);
    txLength = int(txBlock.size());
}

void TForm1::writeBlock()
{
    ComPort.Write(txBlock.constData(), txLength, true);
}

void TForm1::resendBlock()
{
    secondsSinceSend = 0;
    increment(retryCount);
    increment(consecutiveRetries);
    // The reply is awaited again whatever the write does, so that silence
    // keeps counting towards the next resend or the abandon.
    awaitingReply = true;
    try {
        writeBlock();
    } catch (...) {
        increment(writeFailures);
        throw;
    }
}

void TForm1::ComPortRxChar()
{
    const QByteArray received = ComPort.ReadString();
    if (captureOn) {
        for (const char byte : received)
            m_capture.write(&byte, 1);
        m_capture.flush();
    }
    if (received.isEmpty())
        return;
    const char reply = received.at(0);

    if (reply == Ack && awaitingReply) {
        awaitingReply = false;
        secondsSinceSend = 0;
        increment(ackCount);
        consecutiveRetries = 0;
        if (readPos >= fileSize) {
            completeUpload();
            return;
        }
        buildNextBlock();
        try {
            writeBlock();
            writeFailures = 0;
        } catch (const EComError&) {
            rethrowIfPortLost();
            increment(writeFailures);
            showMessage(21, 20);
        }
        ui->lStatus->setText(text(22));
        setProgress(readPos, fileSize);
        awaitingReply = true;
        if (ackCount == 1) {
            referenceSeconds = elapsedSeconds;
            referencePosition = readPos;
        } else {
            double dt = elapsedSeconds - referenceSeconds;
            if (dt <= 0)
                dt = 1.0;
            double rate = (readPos - referencePosition) / dt;
            if (rate <= 0)
                rate = 1.0;
            const double remaining = fileSize / rate + 10 - elapsedSeconds;
            const QString estimate = timeText(qint64(remaining * 1000));
            ui->lTimeEstimate->setText(estimate);
            setTitle(estimate);
        }
        return;
    }
    if (reply == Nak && awaitingReply) {
        awaitingReply = false;
        resendBlock();
        return;
    }
    ui->mInData->insertPlainText(QString::fromLatin1(received));
}

void TForm1::completeUpload()
{
    SecondTimer->stop();
    awaitingReply = false;
    transferActive = false;
    updatePortControls();
    ui->lTimeEstimate->setText(QStringLiteral("00:00:00"));
    ui->lStatus->setText(text(23));
    ui->pbDownload->setValue(0);
    ui->lPercentDone->setText(QStringLiteral("0%"));
    setTitle(QStringLiteral("Portwell 0%"));
    const QString report = QStringList{text(23), text(24) + QString::number(readPos),
                                       text(25) + QString::number(linesSent),
                                       text(26) + QString::number(retryCount)}
                               .join(QLatin1Char('\n'));
    showMessage(report, 27);
}

void TForm1::abandon(QTimer* timer)
{
    timer->stop();
    transferActive = false;
    updatePortControls();
    showAbandoned();
    showMessage(text(28) + QStringLiteral("\n\n") + text(29) + QStringLiteral("\n") + text(30)
                    + QStringLiteral("\n"),
                27);
}

void TForm1::SecondTimerTimer()
{
    increment(elapsedSeconds);
    if (consecutiveRetries > MaxFailures || writeFailures > MaxFailures) {
        elapsedSeconds = 0;
        ackCount = retryCount = linesSent = 0;
        readPos = 0;
        consecutiveRetries = 0;
        secondsSinceSend = 0;
        awaitingReply = false;
        abandon(SecondTimer);
        return;
    }
    ui->lTimePassed->setText(timeText(qint64(elapsedSeconds) * 1000));
    if (awaitingReply) {
        increment(secondsSinceSend);
        if (secondsSinceSend > SilentSeconds)
            resendBlock();
    }
}

// --- raw send -----------------------------------------------------------------------

void TForm1::mBitMapClick()
{
    if (!mayStart())
        return;
    if (ComPort.Active())
        ComPort.ClearOutput();
    HundredMsTimer->stop();
    tickCount = 0;
    writeFailures = 0;
    if (OpenDialog2->exec() != QDialog::Accepted || OpenDialog2->selectedFiles().isEmpty())
        return;
    const QString path = OpenDialog2->selectedFiles().constFirst();
    m_config.setLastFilePath(path);
    SaveConfig();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    sendBuffer = file.readAll();
    sendSize = sendBuffer.size();
    file.close();

    ui->lStatus->setText(text(22));
    ui->lStatus->repaint();
    ui->pbDownload->setValue(0);
    ui->lPercentDone->setText(QStringLiteral("0 %"));
    sentBytes = 0;
    HundredMsTimer->start();
    transferActive = true;
    updatePortControls();
}

void TForm1::HundredMsTimerTimer()
{
    if (sentBytes >= sendSize - RawChunk) {
        // Completed only once the last bytes are out; until then they are
        // tried again at every tick like any other.
        try {
            ComPort.Write(sendBuffer.constData() + sentBytes, int(sendSize - sentBytes), true);
        } catch (const std::exception&) {
            rethrowIfPortLost();
            rawWriteFailed();
            return;
        }
        writeFailures = 0;
        sentBytes = sendSize;
        HundredMsTimer->stop();
        ui->lStatus->setText(text(33));
        ui->pbDownload->setValue(100);
        ui->lPercentDone->setText(QStringLiteral("100%"));
        setTitle(QStringLiteral("Portwell 100%"));
        transferActive = false;
        updatePortControls();
        return;
    }
    increment(tickCount);
    ui->lTimePassed->setText(timeText(qint64(tickCount) * 100));
    ui->lTimeEstimate->setText(timeText((sendSize / RawChunk) * 100 - qint64(tickCount) * 100));
    try {
        ComPort.Write(sendBuffer.constData() + sentBytes, RawChunk, true);
    } catch (const std::exception&) {
        rethrowIfPortLost();
        rawWriteFailed();
        return;
    }
    writeFailures = 0;
    sentBytes += RawChunk;
    setProgress(sentBytes, sendSize);
}

void TForm1::rethrowIfPortLost()
{
    // A port whose device went under the write has closed, which ended the
    // job; its own error is the one message, and no retry follows.
    if (!transferActive)
        throw;
}

void TForm1::rawWriteFailed()
{
    increment(writeFailures);
    // A closed port takes nothing however often it is asked.
    if (writeFailures <= MaxFailures && ComPort.Active()) {
        showMessage(19, 28);
        return;
    }
    abandon(HundredMsTimer);
}

// --- capture ------------------------------------------------------------------------

void TForm1::mStartCaptureClick()
{
    // The menu toggles the mark itself; the state below decides it.
    auto marks = [this] {
        ui->mStartCapture->setChecked(captureOn);
        ui->mStopCapture->setChecked(!captureOn);
    };
    if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) {
        marks();
        return;
    }
    const QString path = SaveDialog1->selectedFiles().constFirst();
    if (m_capture.isOpen())
        m_capture.close();
    captureOn = false;
    m_capture.setFileName(path);
    if (!m_capture.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        marks();
        updatePortControls();
        m_statusPanel0->setText(text(34));
        throw std::runtime_error(m_capture.errorString().toStdString());
    }
    captureOn = true;
    marks();
    updatePortControls();
    m_statusPanel0->setText(text(35));
    m_statusPanel1->setText(path);
}

void TForm1::mStopCaptureClick()
{
    ui->mStartCapture->setChecked(false);
    ui->mStopCapture->setChecked(true);
    m_statusPanel0->setText(text(34));
    captureOn = false;
    updatePortControls();
    m_capture.close();
}

void TForm1::mAboutClick()
{
    m_aboutBox->show();
    m_aboutBox->raise();
}

// --- ending -------------------------------------------------------------------------

void TForm1::shutDown()
{
    stopJobs();
    ComPort.SetActive(false);
    fileBuffer.clear();
    sendBuffer.clear();
    captureOn = false;
    m_capture.close();
}

void TForm1::mExitClick()
{
    shutDown();
    QCoreApplication::exit(0);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    RunGuarded([this] { shutDown(); });
    QMainWindow::closeEvent(event);
}
