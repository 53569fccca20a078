#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace scores_server {

// At most `perMinute` publishes from one address within each minute. Windows are fixed minutes, so
// the table is cleared wholesale when the minute turns and never grows beyond one minute's addresses.
// Thread-safe.
class RateLimiter {
  public:
    explicit RateLimiter(int perMinute) : perMinute_(perMinute) {}
    // Counts one publish of `address` at `nowSeconds`; false when it is one too many.
    bool Allow(const std::string& address, int64_t nowSeconds);

  private:
    const int perMinute_;
    std::mutex mutex_;
    int64_t minute_ = -1;
    std::unordered_map<std::string, int> counts_;
};

}  // namespace scores_server
