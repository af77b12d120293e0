#pragma once

#include "portwell/ComPortTypes.h"
#include "portwell/EComError.h"
#include "portwell/TBufferSizes.h"
#include "portwell/TCharacters.h"
#include "portwell/TFlowControl.h"
#include "portwell/TTimeouts.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <functional>

class QWidget;
class TComThread;

// A serial device driven through the terminal interface. Properties map onto
// the line settings; every failed system call raises an EComError with the
// system's code and text. While any event handler is assigned, an event
// thread waits on the device and hands each batch of events to the thread
// that owns the port (the GUI thread), so every handler runs there. Writes
// without waiting go to a queue that the event thread keeps draining.
class TCustomComPort : public QObject
{
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void()>;
    using TLineErrorEvent = std::function<void(ComPortTypes::TComLineErrors)>;
    // buffer, wait flag, byte count
    using TTransferEvent = std::function<void(const char*, bool, int)>;
    // The handler may set its flag to turn the error into a silent abort.
    using TErrorEvent = std::function<void(const EComError&, bool&)>;

    // Thrown instead of an error that an OnError handler chose to silence.
    class EAbort : public std::exception
    {
    public:
        const char* what() const noexcept override { return "Operation aborted"; }
    };

    // Colon-separated device paths added to the device list, for virtual
    // ports (pseudo-terminals) that the system listing does not show.
    static constexpr const char* ExtraPortsVariable = "PELVANE_EXTRA_SERIAL_PORTS";

    explicit TCustomComPort(QObject* parent = nullptr);
    ~TCustomComPort() override;

    // --- properties -------------------------------------------------------
    ComPortTypes::TBaudRate BaudRate() const { return m_baudRate; }
    void SetBaudRate(ComPortTypes::TBaudRate value);
    int CustomBaudRate() const { return m_customBaudRate; }
    void SetCustomBaudRate(int value);
    ComPortTypes::TDataBits DataBits() const { return m_dataBits; }
    void SetDataBits(ComPortTypes::TDataBits value);
    ComPortTypes::TParity Parity() const { return m_parity; }
    void SetParity(ComPortTypes::TParity value);
    ComPortTypes::TStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(ComPortTypes::TStopBits value);
    ComPortTypes::TComOptions Options() const { return m_options; }
    void SetOptions(ComPortTypes::TComOptions value);
    TFlowControl& FlowControl() { return m_flowControl; }
    TCharacters& Characters() { return m_characters; }
    TBufferSizes& BufferSizes() { return m_bufferSizes; }
    TTimeouts& Timeouts() { return m_timeouts; }
    ComPortTypes::TPriorityClass PriorityClass() const { return m_priorityClass; }
    void SetPriorityClass(ComPortTypes::TPriorityClass value);
    QThread::Priority ThreadPriority() const { return m_threadPriority; }
    void SetThreadPriority(QThread::Priority value) { m_threadPriority = value; }
    bool SynchronizeEvents() const { return m_synchronizeEvents; }
    void SetSynchronizeEvents(bool value);
    QString DeviceName() const { return m_deviceName; }
    void SetDeviceName(const QString& value);
    bool Active() const { return m_fd >= 0; }
    void SetActive(bool value);

    // --- events -----------------------------------------------------------
    void SetOnBreak(TNotifyEvent handler) { setHandler(m_onBreak, std::move(handler)); }
    void SetOnCTSChange(TNotifyEvent handler) { setHandler(m_onCTSChange, std::move(handler)); }
    void SetOnDSRChange(TNotifyEvent handler) { setHandler(m_onDSRChange, std::move(handler)); }
    void SetOnLineError(TLineErrorEvent handler) { setHandler(m_onLineError, std::move(handler)); }
    void SetOnEvent1(TNotifyEvent handler) { setHandler(m_onEvent1, std::move(handler)); }
    void SetOnEvent2(TNotifyEvent handler) { setHandler(m_onEvent2, std::move(handler)); }
    void SetOnPrinterError(TNotifyEvent handler) { setHandler(m_onPrinterError, std::move(handler)); }
    void SetOnRing(TNotifyEvent handler) { setHandler(m_onRing, std::move(handler)); }
    void SetOnRLSDChange(TNotifyEvent handler) { setHandler(m_onRLSDChange, std::move(handler)); }
    void SetOnRx80PercFull(TNotifyEvent handler) { setHandler(m_onRx80PercFull, std::move(handler)); }
    void SetOnRxChar(TNotifyEvent handler) { setHandler(m_onRxChar, std::move(handler)); }
    void SetOnRxFlag(TNotifyEvent handler) { setHandler(m_onRxFlag, std::move(handler)); }
    void SetOnTxEmpty(TNotifyEvent handler) { setHandler(m_onTxEmpty, std::move(handler)); }
    void SetBeforeOpen(TNotifyEvent handler) { m_beforeOpen = std::move(handler); }
    void SetAfterOpen(TNotifyEvent handler) { m_afterOpen = std::move(handler); }
    void SetBeforeClose(TNotifyEvent handler) { m_beforeClose = std::move(handler); }
    void SetAfterClose(TNotifyEvent handler) { m_afterClose = std::move(handler); }
    void SetBeforeRead(TTransferEvent handler) { m_beforeRead = std::move(handler); }
    void SetAfterRead(TTransferEvent handler) { m_afterRead = std::move(handler); }
    void SetBeforeWrite(TTransferEvent handler) { m_beforeWrite = std::move(handler); }
    void SetAfterWrite(TTransferEvent handler) { m_afterWrite = std::move(handler); }
    void SetOnError(TErrorEvent handler) { m_onError = std::move(handler); }

    // The event bits of the assigned handlers.
    unsigned EventMask() const { return m_eventMask.load(); }
    bool EventThreadRunning() const;

    // --- operations -------------------------------------------------------
    void Open();
    void Close();
    int Read(char* buffer, int count, bool wait);
    int Write(const char* buffer, int count, bool wait);
    QByteArray ReadString();
    void WriteString(const QByteArray& text);
    QByteArray ReadUntil(char stop);
    QByteArray ReadLine();
    char ReadChar();
    quint8 ReadByte();
    quint16 ReadWord();
    quint32 ReadDWord();
    void WriteChar(char value);
    void WriteByte(quint8 value);
    void WriteWord(quint16 value);
    void WriteDWord(quint32 value);
    int InputCount();
    int OutputCount();
    void PurgeInput();
    void PurgeOutput();
    void ClearInput();
    void ClearOutput();
    void AbortInput();
    void AbortOutput();
    void Flush();
    void TransmitChar(char value);
    void SetBreak();
    void ClearBreak();
    void SetDTR();
    void ClearDTR();
    void SetRTS();
    void ClearRTS();
    void SetXOn();
    void SetXOff();
    ComPortTypes::TModemStatus GetModemStatus();
    void ClearLineErrors();
    // The configuration dialog on the current settings; on OK they are taken
    // back and reach an open port at once. True when the user chose OK.
    bool ConfigDialog(QWidget* parent);
    // The device name without the device folder "/dev/".
    QString ShortDeviceName() const;
    static QString ShortDeviceName(const QString& deviceName);
    // The system's map of serial devices (as Qt lists them) and the paths
    // of ExtraPortsVariable, as short names.
    static void EnumComDevicesFromRegistry(QStringList& list);

    // Re-applied by the sub-objects when one of their values changes.
    void ApplySettings();

private:
    friend class TComThread;

    template <typename Handler>
    void setHandler(Handler& slot, Handler handler)
    {
        slot = std::move(handler);
        applyEventMask();
    }
    unsigned handlerMask() const;
    void applyEventMask();
    void startThread();
    void stopThread();
    void closeDevice();
    [[noreturn]] void raise(const EComError& error);
    void raiseErrno(int code);
    void check(bool ok);
    void requireOpen() const;
    void requireClosed() const;
    void checkLineErrors();
    ComPortTypes::TComLineErrors takeLineErrors();
    void modemLines(int lines, bool set);
    void purge(int queue);

    // Called on the event thread.
    void deliverFromThread(unsigned events, quint64 generation);
    // Break and line-error events since the thread last looked.
    unsigned lineEventsSince();
    void errorFromThread(int code, bool deviceGone, quint64 generation);
    bool drainWriteQueue();
    // Called on the owning thread.
    void deliver(unsigned events, quint64 generation);
    void threadError(int code, bool deviceGone, quint64 generation);
    void finishPreviousWrite();
    bool deviceHungUp() const;
    int writeDeadlineMs(int count) const;

    int m_fd = -1;
    quint64 m_generation = 0;
    QString m_deviceName = QStringLiteral("/dev/ttyS0");
    ComPortTypes::TBaudRate m_baudRate = ComPortTypes::br9600;
    int m_customBaudRate = 9600;
    ComPortTypes::TDataBits m_dataBits = ComPortTypes::db8;
    ComPortTypes::TParity m_parity = ComPortTypes::paNone;
    ComPortTypes::TStopBits m_stopBits = ComPortTypes::sb1;
    ComPortTypes::TComOptions m_options;
    TFlowControl m_flowControl;
    TCharacters m_characters;
    TBufferSizes m_bufferSizes;
    TTimeouts m_timeouts;
    ComPortTypes::TPriorityClass m_priorityClass = ComPortTypes::pcDefault;
    int m_savedNice = 0;
    bool m_niceSaved = false;
    QThread::Priority m_threadPriority = QThread::TimeCriticalPriority;
    bool m_synchronizeEvents = true;

    TComThread* m_thread = nullptr;
    std::atomic<unsigned> m_eventMask{0};
    std::atomic<bool> m_terminated{false};
    int m_wakePipe[2] = {-1, -1};

    // Shared with the event thread.
    mutable QMutex m_mutex;
    QWaitCondition m_changed;
    bool m_deliveryPending = false;
    QByteArray m_writeQueue;
    qsizetype m_writeRequested = 0;
    qsizetype m_writeDone = 0;
    QDeadlineTimer m_writeDeadline;
    bool m_writeFailed = false;
    int m_writeError = 0;
    struct Counters
    {
        int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
        int cts = 0, dsr = 0, rng = 0, dcd = 0;
    };
    Counters m_counters;
    bool m_countersKnown = false;
    Counters m_eventCounters;
    std::atomic<bool> m_txPending{false};
    // Counts reads that took bytes, so that the event thread can tell
    // whether its handlers consumed input.
    std::atomic<quint64> m_readCount{0};

    TNotifyEvent m_onBreak, m_onCTSChange, m_onDSRChange, m_onEvent1, m_onEvent2,
        m_onPrinterError, m_onRing, m_onRLSDChange, m_onRx80PercFull, m_onRxChar, m_onRxFlag,
        m_onTxEmpty;
    TLineErrorEvent m_onLineError;
    TNotifyEvent m_beforeOpen, m_afterOpen, m_beforeClose, m_afterClose;
    TTransferEvent m_beforeRead, m_afterRead, m_beforeWrite, m_afterWrite;
    TErrorEvent m_onError;
};
