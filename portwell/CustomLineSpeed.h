#pragma once

// Line speeds that have no B-constant (2000, 3600, 56000 baud...) are set
// through the kernel's termios2 interface, which the C library's termios
// header cannot share a file with.
namespace CustomLineSpeed {

// Sets both directions to rate; false with errno set on failure.
bool set(int fd, int rate);
// The output speed as the kernel keeps it, or -1 with errno set.
int get(int fd);

} // namespace CustomLineSpeed
