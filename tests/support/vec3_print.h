// Readable Vec3 values in test failures, and a tolerant comparison.
#pragma once

#include "core/vec3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

inline void PrintTo(const Vec3& v, std::ostream* os) { *os << "(" << v.x << ", " << v.y << ", " << v.z << ")"; }

inline ::testing::AssertionResult vecNear(const Vec3& actual, const Vec3& expected, float tolerance)
{
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance
        && std::fabs(actual.z - expected.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << ::testing::PrintToString(actual) << " is not within " << tolerance
                                         << " of " << ::testing::PrintToString(expected);
}
