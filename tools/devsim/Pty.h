#pragma once

#include <string>

namespace devsim {

// The master side of a pseudo-terminal in raw mode. The simulator keeps a handle on the slave
// side as well, so the master stays usable while a client closes and reopens the slave.
class Pty {
  public:
    Pty() = default;
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;
    ~Pty();

    // False with a message when no pseudo-terminal could be made.
    bool create(std::string *error);
    // create(), telling on stderr why it failed.
    bool open();
    // The slave's path as the first line on stdout: the device file a client opens.
    void announce() const;
    int masterFd() const { return master_; }
    const std::string &slavePath() const { return slavePath_; }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

} // namespace devsim
