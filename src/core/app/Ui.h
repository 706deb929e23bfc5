#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class LinePrinter;
struct PrintRequest;

// What the program asks of the person in front of it. The desktop answers with real
// dialogs, the command line with its streams, tests with a scripted double.
enum class MsgIcon { None, Critical, Question, Warning, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

// The kinds of file whose dialogs remember, each on its own, the folder last used.
enum class FileKind { Other, Dataset, Spreadsheet, Program, Protocol };

struct FileDialogRequest {
    QString title;
    FileKind kind = FileKind::Other;
    // Filter in the classic "Description (*.csv)|*.csv" form, pairs separated by "|".
    QString filter;
    // Where the dialog starts when no folder is remembered for the kind (the documents
    // folder when empty); a proposed name with a folder is proposed in the start folder.
    QString initialDir;
    QString fileName;         // proposed file name
    QString defaultExtension; // without the dot; appended when the user typed none
    bool overwritePrompt = false;
    bool fileMustExist = false;
    bool pathMustExist = false;
    bool hideReadOnly = false;
};

class Ui {
public:
    virtual ~Ui() = default;

    virtual MsgResult Message(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons = MsgButtons::Ok,
                              MsgResult defaultButton = MsgResult::Ok) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> SaveFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> OpenFileDialog(const FileDialogRequest& request) = 0;
    // The entered text, or nothing when the user cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // Lets pending window-system events run during a long operation.
    virtual void Yield() = 0;

    // The print dialog (printer, copies, pages, orientation) over the request's printer,
    // its page laid out by fitPage: a document on the chosen printer as the user set it
    // up, or nullptr when the user cancelled. A Ui without print dialogs cancels.
    virtual std::unique_ptr<LinePrinter> PrintDialog(const PrintRequest& request);
    // The pages `print` puts on the request's printer, to look at and to print from
    // there. A Ui without print dialogs shows nothing.
    virtual void PrintPreview(const PrintRequest& request);
};
