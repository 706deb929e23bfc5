#include "ui/data/DocumentRecovery.h"

#include "data/RecoveryStore.h"

void DocumentRecovery::Keep(CMeasVal& measVal, const MValSet& mvals) {
    Drop();
    m_path = RecoveryStore().Write(measVal, mvals);
}

void DocumentRecovery::Drop() {
    RecoveryStore::Remove(m_path);
    m_path.clear();
}

void DocumentRecovery::Adopt(const QString& path) {
    Drop();
    m_path = path;
}
