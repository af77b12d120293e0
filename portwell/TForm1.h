#pragma once

#include "portwell/ConfigRecord.h"
#include "portwell/TComPort.h"

#include <QByteArray>
#include <QFile>
#include <QMainWindow>
#include <QStringList>

class QFileDialog;
class QLabel;
class QTimer;
class TAboutBox;

namespace Ui {
class TForm1;
}

// The tool's one window. All state lives here and every user action, timer
// tick and port event is a method of it, run on the GUI thread: the firmware
// upload in acknowledged blocks, the raw send, the capture of what the
// tester sends, and the choice of port.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    // arguments: the command line; "export" (any case) as the first
    // argument writes the language tables to "LangStrings.txt".
    explicit TForm1(const QStringList& arguments, QWidget* parent = nullptr);
    ~TForm1() override;

    // The configuration file, in the folder that was current at start-up.
    QString configFileName() const;
    TComPort& comPort() { return ComPort; }

    // Handlers, named after the controls and timers they belong to.
    void mOpenFileClick();
    void mBitMapClick();
    void mExitClick();
    void mStartCaptureClick();
    void mStopCaptureClick();
    void mAboutClick();
    void cbComPortsChange();
    void configureComPortButtonClick();
    void ComPortRxChar();
    void SecondTimerTimer();
    void HundredMsTimerTimer();
    void TryToSetPort(QString name);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SetCaptions();
    void SaveConfig();
    void readConfig();
    void updatePortControls();
    void stopJobs();
    void buildFirstBlock();
    void buildNextBlock();
    void writeBlock();
    void resendBlock();
    void completeUpload();
    void abandon(QTimer* timer);
    // Only inside the handler of a failed write: passes its error on when
    // the port was lost under it.
    void rethrowIfPortLost();
    void rawWriteFailed();
    // The device went away under the port.
    void portClosed();
    // Nothing runs and nothing has been sent.
    void showReady();
    // A job stopped short.
    void showAbandoned();
    void setProgress(qint64 done, qint64 size);
    void setTitle(const QString& title);
    void showMessage(int textIndex, int captionIndex);
    void showMessage(const QString& text, int captionIndex);
    bool askRestart();
    // Whether a new job may start: when one runs, the user is asked and
    // the running one ends on Yes.
    bool mayStart();
    void shutDown();

    Ui::TForm1* ui;
    QLabel* m_statusPanel0;
    QLabel* m_statusPanel1;
    QFileDialog* OpenDialog1;
    QFileDialog* OpenDialog2;
    QFileDialog* SaveDialog1;
    QTimer* SecondTimer;
    QTimer* HundredMsTimer;
    TComPort ComPort;
    TAboutBox* m_aboutBox = nullptr;

    QString m_startFolder;
    ConfigRecord m_config;

    // Upload.
    bool transferActive = false;
    // The running job ended because its port was lost; the port's error,
    // raised next, tells the user.
    bool jobLostPort = false;
    bool awaitingReply = false;
    QByteArray fileBuffer;
    qint64 fileSize = 0;
    qint64 readPos = 0;
    QByteArray txBlock;
    int txLength = 0;
    int elapsedSeconds = 0;
    int secondsSinceSend = 0;
    int ackCount = 0;
    int retryCount = 0;
    quint8 consecutiveRetries = 0;
    int writeFailures = 0;
    int linesSent = 0;
    QString lastGoodPort;
    int referenceSeconds = 0;
    qint64 referencePosition = 0;

    // Raw send.
    QByteArray sendBuffer;
    qint64 sendSize = 0;
    qint64 sentBytes = 0;
    int tickCount = 0;

    // Capture.
    bool captureOn = false;
    QFile m_capture;
};
