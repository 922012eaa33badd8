#include "game/events.h"

GameEvents gameEvents = silentGameEvents();

GameEvents silentGameEvents()
{
    return {
        [](int, const Vec3&) {},
        [](int, const Vec3&) {},
        [](int, const Vec3&) {},
        [] {},
        [](const Vec3&) {},
        [] {},
    };
}
