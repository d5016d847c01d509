#pragma once

#include <sys/resource.h>
#include <time.h>

#include <cstdint>

namespace mk::bench {

// CLOCK_MONOTONIC is shared by every process of the machine, so a child can
// stamp a moment that its parent compares with the moment it spawned it.
inline std::int64_t monotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

struct Usage {
  double cpuMs = 0;
  long maxRssKb = 0;
};

inline Usage selfUsage() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  const double ms = (static_cast<double>(u.ru_utime.tv_sec) + static_cast<double>(u.ru_stime.tv_sec)) * 1000.0 +
                    (static_cast<double>(u.ru_utime.tv_usec) + static_cast<double>(u.ru_stime.tv_usec)) / 1000.0;
  return {ms, u.ru_maxrss};
}

}  // namespace mk::bench
