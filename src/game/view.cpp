#include "game/view.h"

std::optional<Projection> projectionFor(int width, int height)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    Projection projection;
    projection.aspect = static_cast<double>(width) / height;
    return projection;
}
