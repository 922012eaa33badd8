#include "game/events.h"

GameEvents gameEvents = silentGameEvents();

GameEvents silentGameEvents()
{
    return {
        [](const Vec3&) {},
        [](std::size_t, const Vec3&) {},
        [](std::size_t, const Vec3&) {},
        [] {},
        [](const Vec3&) {},
        [] {},
    };
}
