#include "portwell/TComThread.h"

#include "portwell/TCustomComPort.h"

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace ComPortTypes;

namespace {

// Modem lines and line errors have no descriptor event; they are sampled.
const int SampleMs = 50;
// How often input that nobody has read yet is looked at again for more.
const int RecheckMs = 20;

int waitingInput(int fd)
{
    int count = 0;
    if (::ioctl(fd, FIONREAD, &count) != 0)
        return 0;
    return count;
}

} // namespace

TComThread::TComThread(TCustomComPort* port, quint64 generation)
    : m_port(port), m_generation(generation)
{
}

void TComThread::run()
{
    TCustomComPort* port = m_port;
    const int fd = port->m_fd;
    // The terminal reports input as readable until someone reads it. Input
    // that the handlers left unread is announced again only when more comes;
    // once they have read, whatever is there is announced at once, so that
    // bytes arriving while they ran are never missed.
    int seenInput = 0;
    bool readDuringDelivery = false;
    int modemLines = -1;
    ::ioctl(fd, TIOCMGET, &modemLines);

    while (!port->m_terminated.load()) {
        const unsigned mask = port->m_eventMask.load();
        bool writing;
        int writeWaitMs;
        {
            QMutexLocker lock(&port->m_mutex);
            writing = port->m_writeDone < port->m_writeRequested && !port->m_writeFailed;
            writeWaitMs = writing ? int(qMax<qint64>(0, port->m_writeDeadline.remainingTime())) : -1;
        }
        const bool rxWanted = mask & (evRxChar | evRxFlag | evRx80PercFull);
        const bool sampled = mask & (evCTS | evDSR | evRLSD | evRing | evBreak | evError);
        const bool txEmptyWanted = mask & evTxEmpty;

        int timeout = -1;
        auto shorten = [&timeout](int ms) {
            if (ms >= 0 && (timeout < 0 || ms < timeout))
                timeout = ms;
        };
        short events = 0;
        if (rxWanted) {
            const int now = waitingInput(fd);
            if (now == 0)
                events |= POLLIN;
            else if (readDuringDelivery || now > seenInput)
                shorten(0);
            else
                shorten(RecheckMs);
        }
        if (writing) {
            events |= POLLOUT;
            shorten(writeWaitMs);
        }
        if (sampled)
            shorten(SampleMs);
        if (txEmptyWanted && port->m_txPending.load())
            shorten(RecheckMs);

        pollfd fds[2] = {{fd, events, 0}, {port->m_wakePipe[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            port->errorFromThread(errno, false, m_generation);
            return;
        }
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(port->m_wakePipe[0], drain, sizeof drain) > 0) {
            }
        }
        if (port->m_terminated.load())
            return;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // The device has gone (an adapter pulled out, the far end of a
            // pseudo-terminal closed): nothing more will come from it.
            port->errorFromThread(EIO, true, m_generation);
            return;
        }

        unsigned found = 0;
        if (rxWanted) {
            const int now = waitingInput(fd);
            if (now > 0 && (readDuringDelivery || now > seenInput)) {
                found |= evRxChar;
                if (now * 10 >= port->m_bufferSizes.Input() * 8)
                    found |= evRx80PercFull;
            }
        }
        // Also when the device took nothing: a write past its time is then
        // marked failed instead of being polled for again and again.
        if (writing)
            port->drainWriteQueue();
        if (txEmptyWanted && port->m_txPending.load()) {
            QMutexLocker lock(&port->m_mutex);
            int queued = 0;
            if (port->m_writeDone >= port->m_writeRequested
                && (::ioctl(fd, TIOCOUTQ, &queued) != 0 || queued == 0)) {
                port->m_txPending = false;
                found |= evTxEmpty;
            }
        }
        if (sampled) {
            int lines = 0;
            if (::ioctl(fd, TIOCMGET, &lines) == 0) {
                if (modemLines >= 0) {
                    const int changed = lines ^ modemLines;
                    if (changed & TIOCM_CTS)
                        found |= evCTS;
                    if (changed & TIOCM_DSR)
                        found |= evDSR;
                    if (changed & TIOCM_CAR)
                        found |= evRLSD;
                    if ((changed & TIOCM_RNG) && !(lines & TIOCM_RNG))
                        found |= evRing;
                }
                modemLines = lines;
            }
            found |= port->lineEventsSince();
        }

        found &= mask;
        if (found == 0)
            continue;
        const quint64 readsBefore = port->m_readCount.load();
        port->deliverFromThread(found, m_generation);
        readDuringDelivery = port->m_readCount.load() != readsBefore;
        seenInput = waitingInput(fd);
    }
}
