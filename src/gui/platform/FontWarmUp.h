#pragma once

#include <thread>

namespace zx {

// Reading the system's font configuration (dozens of XML files) is the largest single piece of
// work before the first window that shows text, and Qt does it on the UI thread when the first
// window lays out its labels. Started at once on a thread of its own, it runs alongside the rest
// of the start-up (the window system connection, the working directory, building the start
// screen); wait() before the first window is shown lets Qt find it done instead of reading it
// a second time. Without fontconfig it does nothing.
class FontWarmUp {
  public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    void wait();

  private:
    std::thread thread_;
};

} // namespace zx
