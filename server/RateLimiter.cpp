#include "server/RateLimiter.h"

namespace scores_server {

bool RateLimiter::Allow(const std::string& address, int64_t nowSeconds) {
    std::lock_guard lock(mutex_);
    const int64_t minute = nowSeconds / 60;
    if (minute != minute_) {
        counts_.clear();
        minute_ = minute;
    }
    int& count = counts_[address];
    if (count >= perMinute_) return false;
    ++count;
    return true;
}

}  // namespace scores_server
