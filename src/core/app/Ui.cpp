#include "app/Ui.h"

#include "data/LinePrinter.h"

std::unique_ptr<LinePrinter> Ui::PrintDialog(const PrintRequest&) {
    return nullptr;
}

void Ui::PrintPreview(const PrintRequest&) {}
