#pragma once

#include <QtGlobal>
#include <functional>
#include <limits>

// Told how far a long piece of work has got (`done` of `total`, in any unit); false asks it
// to stop. The same form as the progress of a file reading.
using WorkProgress = std::function<bool(qint64 done, qint64 total)>;

// Hands a long work's position to its progress about a hundred times over the whole work,
// so that a writer may ask after every record at the cost of one comparison.
class ProgressSteps {
public:
    ProgressSteps(const WorkProgress& progress, qint64 total)
        : m_progress(progress), m_total(total), m_step(qMax<qint64>(total / 100, 1)),
          m_next(progress ? m_step : kNever) {}

    // False once the progress asked to stop.
    bool At(qint64 done) { return done < m_next || Tell(done); }
    // Tells the end of the work (100 %); false when the progress asks to stop even now.
    bool End() { return !m_progress || Tell(m_total); }

private:
    static constexpr qint64 kNever = std::numeric_limits<qint64>::max();

    bool Tell(qint64 done) {
        m_next = done + m_step;
        return m_progress(done, m_total);
    }

    const WorkProgress& m_progress;
    qint64 m_total;
    qint64 m_step;
    qint64 m_next;
};
