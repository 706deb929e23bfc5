#pragma once

#include "app/Errors.h"

#include <cmath>

// The arithmetic faults the statistics must not let through as infinities or NaNs: a
// division by zero or an overflow ends the operation through the error trap, as the
// calculation's user expects a message rather than a nonsense line.
template <typename Real> Real CheckedResult(Real value) {
    if (std::isnan(value)) {
        throw MervexError(QStringLiteral("Invalid procedure call or argument"));
    }
    if (std::isinf(value)) {
        throw MervexError(QStringLiteral("Overflow"));
    }
    return value;
}

template <typename Real> Real CheckedDivide(Real numerator, Real denominator) {
    if (denominator == Real(0)) {
        throw MervexError(QStringLiteral("Division by zero"));
    }
    return CheckedResult(numerator / denominator);
}

template <typename Real> Real CheckedSqrt(Real value) {
    if (value < Real(0)) {
        throw MervexError(QStringLiteral("Invalid procedure call or argument"));
    }
    return std::sqrt(value);
}
