#include "portwell/CustomLineSpeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace CustomLineSpeed {

bool set(int fd, int rate)
{
    struct termios2 tio;
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    tio.c_cflag &= ~CBAUD;
    tio.c_cflag |= BOTHER;
    tio.c_cflag &= ~(CBAUD << IBSHIFT);
    tio.c_cflag |= BOTHER << IBSHIFT;
    tio.c_ispeed = static_cast<speed_t>(rate);
    tio.c_ospeed = static_cast<speed_t>(rate);
    return ::ioctl(fd, TCSETS2, &tio) == 0;
}

int get(int fd)
{
    struct termios2 tio;
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return -1;
    return static_cast<int>(tio.c_ospeed);
}

} // namespace CustomLineSpeed
