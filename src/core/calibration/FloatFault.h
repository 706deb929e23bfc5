#pragma once

#include "app/RunTimeErrors.h"

#include <cmath>

// The arithmetic faults the statistics must not let through as infinities or NaNs: a
// division by zero or an overflow ends the operation through the error trap, as the
// calculation's user expects a message rather than a nonsense line.
template <typename Real> Real CheckedResult(Real value) {
    if (std::isnan(value)) {
        throw RunTimeError(RtError::InvalidCall);
    }
    if (std::isinf(value)) {
        throw RunTimeError(RtError::Overflow);
    }
    return value;
}

template <typename Real> Real CheckedDivide(Real numerator, Real denominator) {
    if (denominator == Real(0)) {
        throw RunTimeError(RtError::DivisionByZero);
    }
    return CheckedResult(numerator / denominator);
}

template <typename Real> Real CheckedSqrt(Real value) {
    if (value < Real(0)) {
        throw RunTimeError(RtError::InvalidCall);
    }
    return std::sqrt(value);
}
