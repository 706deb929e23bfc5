#include "ui/app/DesktopUi.h"

#include "app/LastFolders.h"
#include "data/PrintRequest.h"
#include "print/SystemLinePrinter.h"
#include "ui/app/FileFilter.h"
#include "ui/app/HelpContext.h"
#include "ui/app/PrintOptionsBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGraphicsView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QToolBar>
#include <algorithm>

namespace {

QMessageBox::Icon QtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton QtButton(MsgResult result) {
    switch (result) {
    case MsgResult::Cancel:
        return QMessageBox::Cancel;
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::No:
        return QMessageBox::No;
    case MsgResult::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// The close box of a message box answers like its Cancel or No button.
MsgResult FromQt(int button, MsgButtons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        break;
    }
    return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
}

// The request's printer with the page its printout lays out, as a dialog starts from.
std::unique_ptr<QPrinter> LaidOutPrinter(const PrintRequest& request) {
    std::unique_ptr<QPrinter> printer = NewProgramPrinter(request.printerName);
    if (request.fitPage) {
        SystemLinePrinter layout(*printer, true);
        request.fitPage(layout);
    }
    return printer;
}

// Swallows the paint events of a widget while alive, and repaints it at the end.
class PaintBlocker : public QObject {
public:
    explicit PaintBlocker(QWidget* widget) : m_widget(widget) {
        if (widget) {
            widget->installEventFilter(this);
        }
    }
    ~PaintBlocker() override {
        if (m_widget) {
            m_widget->removeEventFilter(this);
            m_widget->update();
        }
    }
    PaintBlocker(const PaintBlocker&) = delete;
    PaintBlocker& operator=(const PaintBlocker&) = delete;

    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint; }

private:
    QPointer<QWidget> m_widget;
};

// The layout choice on the preview's tool bar: the pages follow it at once.
void AddPreviewChoice(QPrintPreviewDialog& dialog, const PrintRequest& request) {
    auto* bar = dialog.findChild<QToolBar*>();
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    if (!request.setOptions || !bar || !preview) {
        return;
    }
    auto* choice = new PrintOptionsBox(request.options, bar, request.shownChoice);
    bar->addSeparator();
    bar->addWidget(choice);
    QObject::connect(choice, &PrintOptionsBox::Changed, preview,
                     [&request, preview, choice](const PrintOptions& options) {
                         request.setOptions(options);
                         // No second change while the pages are rendered.
                         choice->setEnabled(false);
                         preview->updatePreview();
                         choice->setEnabled(true);
                     });
}

} // namespace

QWidget* DesktopUi::Owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return m_main;
}

MsgResult DesktopUi::Message(const QString& text, const QString& title, MsgIcon icon,
                             MsgButtons buttons, MsgResult defaultButton) {
    QMessageBox box(QtIcon(icon), title, text, QtButtons(buttons), Owner());
    box.setDefaultButton(QtButton(defaultButton));
    return FromQt(box.exec(), buttons);
}

std::optional<QString> DesktopUi::RunFileDialog(QFileDialog& dialog,
                                                const FileDialogRequest& request) {
    // Qt's own dialog, never the desktop's: it speaks the program's language (a GTK dialog
    // would follow the desktop's) and behaves the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(request.title);
    dialog.setNameFilters(QtNameFilters(request.filter));
    // The kind's last folder, else the caller's, else the documents folder; the proposed
    // name goes into that folder, whatever folder the caller put in front of it.
    dialog.setDirectory(LastFolders::StartFolder(request.kind, request.initialDir));
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(QFileInfo(request.fileName).fileName());
    }
    dialog.setDefaultSuffix(request.defaultExtension);
    // With several file types, a name typed without extension gets the chosen type's one.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &request](const QString& filter) {
                         dialog.setDefaultSuffix(FilterExtension(filter, request.defaultExtension));
                     });
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    // Qt's dialogs have no read-only check box, so hideReadOnly needs nothing here.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen =
        WithDefaultExtension(dialog.selectedFiles().front(), dialog.defaultSuffix());
    LastFolders::Remember(request.kind, chosen);
    return chosen;
}

std::optional<QString> DesktopUi::SaveFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(Owner());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return RunFileDialog(dialog, request);
}

std::optional<QString> DesktopUi::OpenFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(Owner());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    return RunFileDialog(dialog, request);
}

std::optional<QString> DesktopUi::InputBox(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    QInputDialog dialog(Owner());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    // Qt sizes the box for its field only: a short prompt cut the title to "Modifi… sateur".
    // Room for the title and the title bar's buttons beside it.
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    dialog.setMinimumWidth(metrics.horizontalAdvance(title) + 8 * metrics.height());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

void DesktopUi::Yield() {
    QCoreApplication::processEvents();
}

std::unique_ptr<LinePrinter> DesktopUi::PrintDialog(const PrintRequest& request) {
    std::unique_ptr<QPrinter> printer = LaidOutPrinter(request);
    {
        QPrintDialog dialog(printer.get(), Owner());
        SetHelpContext(&dialog, HelpContext::kPrinting);
        // "Pages from ... to" is honoured by the line printer itself.
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                          QAbstractPrintDialog::PrintCollateCopies |
                          QAbstractPrintDialog::PrintShowPageSize);
        PrintOptionsBox* choice = nullptr;
        if (request.setOptions) {
            choice = new PrintOptionsBox(request.options, &dialog, request.shownChoice);
            dialog.setOptionTabs({choice});
        }
        if (dialog.exec() != QDialog::Accepted) {
            return nullptr;
        }
        if (choice) {
            request.setOptions(choice->Options());
        }
    }
    return std::make_unique<SystemLinePrinter>(std::move(printer));
}

void DesktopUi::PrintPreview(const PrintRequest& request) {
    std::unique_ptr<QPrinter> printer = LaidOutPrinter(request);
    QPrintPreviewDialog dialog(printer.get(), Owner());
    AddPreviewChoice(dialog, request);
    SetHelpContext(&dialog, HelpContext::kPrinting);
    // Large enough to read a page (Qt's own default shows a thumbnail), and wide enough for
    // the tool bar where the screen allows: a choice behind the bar's overflow button is
    // one nobody finds.
    if (const QScreen* screen = dialog.screen()) {
        const QSize available = screen->availableGeometry().size();
        QSize size = available * 3 / 4;
        if (const auto* bar = dialog.findChild<QToolBar*>()) {
            size.setWidth(std::min(
                available.width(),
                std::max(size.width(), bar->sizeHint().width() + bar->fontMetrics().height() * 2)));
        }
        dialog.resize(size);
    }
    // The preview's pages and a printout started from it take the same path.
    auto* view = dialog.findChild<QGraphicsView*>();
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&request, view](QPrinter* target) {
                         // A new rendering drops the pages shown so far while the printout
                         // still yields to events: the view must not paint them meanwhile.
                         const PaintBlocker blocker(view ? view->viewport() : nullptr);
                         SystemLinePrinter lines(*target);
                         request.print(lines);
                     });
    dialog.exec();
}
