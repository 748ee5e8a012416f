#include "SimSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace devsim {

long long nowMicros()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void writeAll(int fd, const std::uint8_t *bytes, std::size_t count, bool (*stopping)())
{
    while (count > 0) {
        const ssize_t n = ::write(fd, bytes, count);
        if (n < 0) {
            if ((errno == EINTR || errno == EAGAIN) && !(stopping && stopping()))
                continue;
            return;
        }
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
}

void traceBytes(const char *label, const char *what, const std::vector<std::uint8_t> &bytes, bool twoDigits)
{
    std::fprintf(stderr, "%s %s", label, what);
    for (const auto b : bytes)
        std::fprintf(stderr, twoDigits ? " %02X" : " %X", b);
    std::fprintf(stderr, "\n");
}

bool toNumber(const char *text, long *value, int base)
{
    char *end = nullptr;
    *value = std::strtol(text, &end, base);
    return end && *end == '\0' && *value >= 0;
}

bool parsePhysicalAddress(const char *text, int *packed)
{
    int a = 0, l = 0, d = 0;
    char tail = 0;
    if (std::sscanf(text, "%d.%d.%d%c", &a, &l, &d, &tail) != 3 || a < 0 || a > 15 || l < 0 || l > 15 ||
        d < 0 || d > 255)
        return false;
    *packed = a * 4096 + l * 256 + d;
    return true;
}

void onStopSignals(void (*stop)(int))
{
    std::signal(SIGTERM, stop);
    std::signal(SIGINT, stop);
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace devsim
