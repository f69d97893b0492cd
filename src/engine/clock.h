#pragma once
// The time source of the batch progress, so tests can steer it.
#include <QDateTime>

class IClock {
  public:
    virtual ~IClock() = default;
    virtual QDateTime Now() const = 0;
};

// Local wall-clock time.
class TSystemClock final : public IClock {
  public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};
