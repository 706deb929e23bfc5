#include "app/BusyState.h"

BusyState::Hold::Hold(BusyState& state) : m_state(state) {
    m_state.Enter();
}

BusyState::Hold::~Hold() {
    m_state.Leave();
}

void BusyState::Enter() {
    if (m_depth++ == 0) {
        emit Changed(true);
    }
}

void BusyState::Leave() {
    if (--m_depth == 0) {
        emit Changed(false);
    }
}
