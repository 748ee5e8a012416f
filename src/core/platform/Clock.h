#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace zx {

// The time of day and the date. Saving stamps the image header with it; tests fix it.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    int secondsSinceMidnight() const { return now().time().msecsSinceStartOfDay() / 1000; }
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock final : public Clock {
  public:
    explicit FixedClock(QDateTime at) : at_(std::move(at)) {}
    QDateTime now() const override { return at_; }
    void set(const QDateTime &at) { at_ = at; }

  private:
    QDateTime at_;
};

} // namespace zx
