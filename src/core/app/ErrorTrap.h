#pragma once

#include "app/Errors.h"
#include "app/Ui.h"

#include <exception>
#include <utility>

// The common error trap: a run-time error inside a public operation is shown with the
// critical icon under the title "Erreur" (string 1033) and the operation returns its
// neutral result.
void ReportError(Ui& ui, const QString& description);
QString DescribeCurrentException();

template <typename Result, typename Body> Result Trapped(Ui& ui, Result neutral, Body&& body) {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        ReportError(ui, DescribeCurrentException());
        return neutral;
    }
}

template <typename Body> void TrappedVoid(Ui& ui, Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (...) {
        ReportError(ui, DescribeCurrentException());
    }
}
