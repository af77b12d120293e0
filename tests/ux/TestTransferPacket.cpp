#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"
#include "ux/SerialPort.h"
#include "ux/TransferPacket.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// One side of a line: a simulated instrument, the port opened on it and a
// packet layer on the port, with every signal written into one event list.
struct Line
{
    SimulatedInstrument instrument;
    Ux::SerialPort port;
    std::unique_ptr<Ux::TransferPacket> packets;
    QStringList events;
    QList<QByteArray> data;

    explicit Line(int mode)
    {
        if (!instrument.isValid() || !port.open(instrument.portName(), 115200))
            return;
        packets = std::make_unique<Ux::TransferPacket>(&port, mode);
        instrument.setPoller([this] { port.read(100); });
        auto* p = packets.get();
        QObject::connect(p, &Ux::TransferPacket::packetReceived, p,
                         [this](quint8 id, const QByteArray& bytes) {
                             events << QStringLiteral("packet %1").arg(id);
                             data << bytes;
                         });
        QObject::connect(p, &Ux::TransferPacket::packetError, p,
                         [this](int code) { events << QStringLiteral("error %1").arg(code); });
        QObject::connect(p, &Ux::TransferPacket::ackReceived, p,
                         [this](quint8 id) { events << QStringLiteral("ack %1").arg(id); });
        QObject::connect(p, &Ux::TransferPacket::nckReceived, p,
                         [this](quint8 id) { events << QStringLiteral("nck %1").arg(id); });
    }
    bool ready() const { return packets != nullptr; }

    bool deliver(const QByteArray& bytes, const QList<int>& chunks = {})
    {
        return instrument.sendAndWaitRead(bytes, chunks);
    }
    // The receiver answers at once; give the answer time to cross the line.
    QByteArray repliesAfter(int count)
    {
        instrument.waitForReceived(count, 2000);
        return instrument.received();
    }
};

} // namespace

class TestTransferPacket : public QObject
{
    Q_OBJECT
private slots:
    void sentFrames_data();
    void sentFrames();
    void tooLongDataIsRefused();
    void replyBytes();
    void receiverSession();
    void acknowledgedBeforeSignalled();
    void idLimits_data();
    void idLimits();
    void repeatAfterLostAck();
    void resetForgetsEverything();
    void senderReadsSplitAndJoinedReplies();
    void thousandRandomPackets();
};

void TestTransferPacket::sentFrames_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("plain") << 5 << hex("61626364") << hex("0205040061626364940103");
    QTest::newRow("length escaped") << 4 << hex("616263") << hex("02047ff3006162632e0103");
    QTest::newRow("no data") << 4 << QByteArray() << hex("02040000050003");
    QTest::newRow("id escaped") << 2 << QByteArray() << hex("027ff200007ff30003");
    QTest::newRow("data escaped") << 5 << hex("02037f") << hex("02057ff3007ff27ff37f7f8d0003");
    QTest::newRow("sum escaped") << 4 << hex("fc") << hex("02040100fc7ff20103");
    QTest::newRow("both length bytes escaped")
        << 4 << QByteArray(515, '\0') << hex("02047ff37ff2") + QByteArray(515, '\0') + hex("0a0003");
    QTest::newRow("sum wraps") << 4 << QByteArray(300, '\xff')
                               << hex("02042c01") + QByteArray(300, '\xff') + hex("062b03");
    QTest::newRow("last id") << 126 << hex("41") << hex("027e010041c10003");
}

void TestTransferPacket::sentFrames()
{
    QFETCH(int, id);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, frame);
    Line line(Ux::TransferPacket::SenderMode);
    QVERIFY(line.ready());
    line.packets->sendPacket(quint8(id), data);
    QVERIFY(line.instrument.waitForReceived(int(frame.size())));
    QCOMPARE(line.instrument.received().toHex(), frame.toHex());
}

void TestTransferPacket::tooLongDataIsRefused()
{
    Line line(Ux::TransferPacket::SenderMode);
    QVERIFY(line.ready());
    line.packets->sendPacket(4, hex("01"));
    QVERIFY(line.instrument.waitForReceived(8));
    line.instrument.clearReceived();

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("packet 5 refused.*65536"));
    line.packets->sendPacket(5, QByteArray(65536, 'a'));
    // Neither the refused packet nor the one before it may go out in its place.
    QCOMPARE(line.packets->resendPacket(), qint64(0));
    QVERIFY(!line.instrument.waitForReceived(1, 200));

    line.packets->sendPacket(5, hex("02"));
    QVERIFY(line.instrument.waitForReceived(9));
    QCOMPARE(line.instrument.received(), hex("020501007ff2090003"));
}

void TestTransferPacket::replyBytes()
{
    Line line(Ux::TransferPacket::ReceiverMode);
    QVERIFY(line.ready());
    QCOMPARE(line.packets->sendAck(5), qint64(4));
    QCOMPARE(line.packets->sendNck(126), qint64(4));
    QCOMPARE(line.repliesAfter(8).toHex(), hex("02060503" "02157e03").toHex());}

void TestTransferPacket::receiverSession()
{
    Line line(Ux::TransferPacket::ReceiverMode);
    QVERIFY(line.ready());
    auto& in = line.instrument;
    QStringList expected;

    // Noise before the first packet is dropped without a word.
    QVERIFY(line.deliver(hex("4142")));
    QVERIFY(!in.waitForReceived(1, 100));
    QVERIFY(line.events.isEmpty());

    QVERIFY(line.deliver(hex("0205040061626364940103")));
    QCOMPARE(line.repliesAfter(4), hex("02060503"));
    expected << "packet 5";

    // Bad sum: NCK names the last packet acknowledged, not the refused one.
    QVERIFY(line.deliver(hex("020602007879fb0003")));
    QCOMPARE(line.repliesAfter(8), hex("02060503" "02150503"));
    expected << "error 3";

    // After a refused packet every stray byte is answered.
    QVERIFY(line.deliver(hex("55")));
    QCOMPARE(line.repliesAfter(12), hex("02060503" "02150503" "02150503"));
    expected << "error 0";

    QVERIFY(line.deliver(hex("020602007879fa0003")));
    QCOMPARE(line.repliesAfter(16), hex("02060503" "02150503" "02150503" "02060603"));
    expected << "packet 6";

    // After a good packet a stray byte is ignored.
    QVERIFY(line.deliver(hex("55")));
    QVERIFY(!in.waitForReceived(17, 100));

    // Bad id: refused, and the rest of its read is dropped, the good packet
    // behind it included.
    QVERIFY(line.deliver(hex("027f7f01007afb0003" "02070100717a0003")));
    QCOMPARE(line.repliesAfter(20).mid(16), hex("02150603"));
    expected << "error 1";
    QVERIFY(!in.waitForReceived(21, 100));

    // Trailer missing.
    QVERIFY(line.deliver(hex("02070100717a0004")));
    QCOMPARE(line.repliesAfter(24).mid(20), hex("02150603"));
    expected << "error 2";

    // Sent again, the packet starts afresh at its STX.
    QVERIFY(line.deliver(hex("02070100717a0003")));
    QCOMPARE(line.repliesAfter(28).mid(24), hex("02060703"));
    expected << "packet 7";

    QVERIFY(!in.waitForReceived(29, 100));
    QCOMPARE(line.events, expected);
    QCOMPARE(line.data, (QList<QByteArray>{hex("61626364"), hex("7879"), hex("71")}));
}

void TestTransferPacket::acknowledgedBeforeSignalled()
{
    Line line(Ux::TransferPacket::ReceiverMode);
    QVERIFY(line.ready());
    QByteArray atPacket;
    QByteArray atError;
    connect(line.packets.get(), &Ux::TransferPacket::packetReceived, this, [&] {
        line.instrument.waitForReceived(4, 2000);
        atPacket = line.instrument.received();
    });
    connect(line.packets.get(), &Ux::TransferPacket::packetError, this, [&] {
        line.instrument.waitForReceived(8, 2000);
        atError = line.instrument.received();
    });
    QVERIFY(line.deliver(hex("02040000050003")));
    QCOMPARE(atPacket, hex("02060403"));
    QCOMPARE(line.data, QList<QByteArray>{QByteArray()});
    QVERIFY(line.deliver(hex("02050000070003")));
    QCOMPARE(atError, hex("02060403" "02150403"));
}

void TestTransferPacket::idLimits_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("event");
    QTest::newRow("4") << hex("02040000050003") << hex("02060403") << "packet 4";
    QTest::newRow("126") << hex("027e00007f7f0003") << hex("02067e03") << "packet 126";
    QTest::newRow("3") << hex("027ff30000040003") << hex("02150003") << "error 1";
    QTest::newRow("127") << hex("027f7f00008000" "03") << hex("02150003") << "error 1";
}

void TestTransferPacket::idLimits()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    QFETCH(QString, event);
    Line line(Ux::TransferPacket::ReceiverMode);
    QVERIFY(line.ready());
    QVERIFY(line.deliver(frame));
    QCOMPARE(line.repliesAfter(4), reply);
    QCOMPARE(line.events, QStringList{event});
}

void TestTransferPacket::repeatAfterLostAck()
{
    Line line(Ux::TransferPacket::ReceiverMode);
    QVERIFY(line.ready());
    auto& in = line.instrument;
    QVERIFY(in.sendPacket(5, "record one"));
    QVERIFY(in.waitForSeen(1));
    // The instrument missed the ACK and sends the same packet again.
    QVERIFY(in.resendLastPacket());
    QVERIFY(in.waitForSeen(2));
    QCOMPARE(in.received(), hex("02060503" "02060503"));
    QCOMPARE(line.events, QStringList{"packet 5"});

    // Same id with other data is a packet of its own.
    QVERIFY(in.sendPacket(5, "record two"));
    QVERIFY(in.waitForSeen(3));
    QVERIFY(in.sendPacket(6, "record two"));
    QVERIFY(in.waitForSeen(4));
    QCOMPARE(line.events, (QStringList{"packet 5", "packet 5", "packet 6"}));
    QCOMPARE(line.packets->lastAckId(), quint8(6));
}

void TestTransferPacket::resetForgetsEverything()
{
    Line line(Ux::TransferPacket::ReceiverMode);
    QVERIFY(line.ready());
    auto& in = line.instrument;
    QVERIFY(in.sendPacket(5, "abc"));
    QVERIFY(in.waitForSeen(1));
    // Half a packet and half an escape pair, then the transfer starts over.
    QVERIFY(line.deliver(hex("02060300617f")));
    line.packets->reset();
    QCOMPARE(line.packets->lastAckId(), quint8(0));
    QVERIFY(!line.packets->escapePending());
    // The same packet again is new to a reset receiver.
    QVERIFY(in.sendPacket(5, "abc"));
    QVERIFY(in.waitForSeen(2));
    QCOMPARE(line.events, (QStringList{"packet 5", "packet 5"}));
    QCOMPARE(in.received(), hex("02060503" "02060503"));
}

void TestTransferPacket::senderReadsSplitAndJoinedReplies()
{
    Line line(Ux::TransferPacket::SenderMode);
    QVERIFY(line.ready());
    // Split in two reads.
    QVERIFY(line.deliver(hex("02060503"), {2, 2}));
    QCOMPARE(line.events, QStringList{"ack 5"});
    // Byte by byte.
    QVERIFY(line.deliver(hex("02150603"), {1, 1, 1, 1}));
    // Two replies in one read, with noise before them.
    QVERIFY(line.deliver(hex("41" "02060703" "02150803")));
    // A reply cut short is completed by the next read.
    QVERIFY(line.deliver(hex("0206"), {}));
    QCOMPARE(line.events, (QStringList{"ack 5", "nck 6", "ack 7", "nck 8"}));
    QVERIFY(line.deliver(hex("0903" "02")));
    QCOMPARE(line.events.last(), QStringLiteral("ack 9"));
    QVERIFY(line.deliver(hex("150a03")));
    QCOMPARE(line.events.last(), QStringLiteral("nck 10"));

    QTest::ignoreMessage(QtDebugMsg, "Unknown message received");
    QVERIFY(line.deliver(hex("02070503")));
    QCOMPARE(line.events.size(), 6);
}

void TestTransferPacket::thousandRandomPackets()
{
    // Sender and receiver each on a pseudo-terminal of their own; the test is
    // the cable between them and cuts the bytes into random pieces.
    Line sender(Ux::TransferPacket::SenderMode);
    Line receiver(Ux::TransferPacket::ReceiverMode);
    QVERIFY(sender.ready() && receiver.ready());
    QRandomGenerator random(20240611);
    qsizetype forwardedOut = 0;
    qsizetype forwardedBack = 0;
    const auto forward = [&random](SimulatedInstrument& from, qsizetype* done,
                                   SimulatedInstrument& to) {
        from.pump();
        const QByteArray bytes = from.received();
        while (*done < bytes.size()) {
            const QByteArray piece = bytes.mid(*done, random.bounded(1, 64));
            if (!to.sendRaw(piece))
                return false;
            *done += piece.size();
        }
        return true;
    };
    const QByteArray special = hex("02037f");

    QList<QByteArray> sent;
    for (int i = 0; i < 1000; ++i) {
        QByteArray data(random.bounded(0, 300), Qt::Uninitialized);
        for (char& byte : data)
            byte = random.bounded(4) == 0 ? special.at(random.bounded(3)) : char(random.bounded(256));
        sent << data;
        sender.packets->sendPacket(quint8(4 + i % 123), data);
        const bool acked = sender.instrument.waitUntil(
            [&] {
                if (!forward(sender.instrument, &forwardedOut, receiver.instrument))
                    return true;
                receiver.port.read(random.bounded(1u, 101u));
                if (!forward(receiver.instrument, &forwardedBack, sender.instrument))
                    return true;
                sender.port.read(random.bounded(1u, 101u));
                return sender.events.size() > i;
            },
            5000);
        QVERIFY2(acked, qPrintable(QStringLiteral("packet %1 not acknowledged").arg(i)));
        QCOMPARE(sender.events.last(), QStringLiteral("ack %1").arg(4 + i % 123));
    }
    QCOMPARE(receiver.events.size(), 1000);
    QCOMPARE(sender.events.size(), 1000);
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(receiver.events.at(i), QStringLiteral("packet %1").arg(4 + i % 123));
    QCOMPARE(receiver.data, sent);
}

PELVANE_TEST_MAIN(TestTransferPacket)
#include "TestTransferPacket.moc"
