#include "app/Centring.h"

#include <cmath>

namespace app {

namespace {

int centredOffset(double screen, double window) {
    const auto difference = static_cast<long long>(std::nearbyint(screen - window)); // ties to even
    return static_cast<int>(difference / 2);                                         // toward zero
}

} // namespace

QPoint centredPosition(const QSizeF& screen, const QSizeF& window) {
    return {centredOffset(screen.width(), window.width()), centredOffset(screen.height(), window.height())};
}

} // namespace app
