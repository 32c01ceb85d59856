#include "devsettings/LocalClock.h"

namespace {
class SystemClock final : public ILocalClock {
  public:
    QDateTime LocalNow() override { return QDateTime::currentDateTime(); }
};
}  // namespace

ILocalClock& SystemLocalClock() {
    static SystemClock clock;
    return clock;
}
