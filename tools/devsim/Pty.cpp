#include "Pty.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace devsim {

Pty::~Pty()
{
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

bool Pty::create(std::string *error)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        *error = std::string("pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char *name = ::ptsname(master_);
    if (!name) {
        *error = std::string("ptsname: ") + std::strerror(errno);
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        *error = slavePath_ + ": " + std::strerror(errno);
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    return true;
}

bool Pty::open()
{
    std::string error;
    if (create(&error))
        return true;
    std::fprintf(stderr, "devsim: %s\n", error.c_str());
    return false;
}

void Pty::announce() const
{
    std::printf("%s\n", slavePath_.c_str());
    std::fflush(stdout);
}

} // namespace devsim
