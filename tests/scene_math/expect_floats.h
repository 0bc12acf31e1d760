// Element-wise float comparison for the math tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

inline void expect_floats(const float* actual, std::initializer_list<float> expected, float tolerance = 1e-5f)
{
    int i = 0;
    for (float value : expected) {
        EXPECT_NEAR(actual[i], value, tolerance) << "element " << i;
        ++i;
    }
}
