#include "app/RunProgress.h"

#include <cmath>

namespace vorpane::app {

// nearbyint rounds in the current mode, which is to nearest with ties to even
// unless somebody changed it; the bar's figures have always been rounded so.
int PercentOf(std::int64_t position, std::int64_t maximum) {
  if (maximum <= 0) return 0;
  const long double fraction = static_cast<long double>(position) / static_cast<long double>(maximum);
  return static_cast<int>(std::nearbyint(fraction * 100.0L));
}

int PositionAtPercent(int maximum, int percent) {
  return static_cast<int>(std::nearbyint(static_cast<long double>(maximum) / 100.0L * percent));
}

}  // namespace vorpane::app
