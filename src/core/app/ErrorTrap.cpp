#include "app/ErrorTrap.h"

#include "app/RunTimeErrors.h"
#include "app/TextTables.h"

void ReportError(Ui& ui, const QString& description) {
    // The title itself must not throw: a broken string table still shows the error.
    const auto title = TextTables::Active().Find(1033);
    ui.Message(description, title.value_or(QStringLiteral("Erreur")), MsgIcon::Critical);
}

QString DescribeCurrentException() {
    try {
        throw;
    } catch (const MervexError& e) {
        return e.Description();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return RunTimeText(RtError::UnknownError);
    }
}
