#include "app/CIni.h"
#include "app/Language.h"
#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliLink.h"
#include "cli/ConsoleUi.h"
#include "meter/CLogin.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

QList<CliCommand>& Registry() {
    static QList<CliCommand> commands;
    return commands;
}

const QString kSynopsis = QStringLiteral("mervex-cli [--port DEVICE]... [--user NAME] COMMAND ...");

// A usage line is "SYNOPSIS  DESCRIPTION" (two or more blanks between them) or a synopsis
// alone, whose description follows on the next lines; a further synopsis of the same
// command is indented by two blanks, a line indented by more continues a description.
struct UsageLine {
    QString synopsis;
    QString description;
};

QList<UsageLine> UsageLines(const QString& usage) {
    static const QRegularExpression gap(QStringLiteral(" {2,}"));
    QList<UsageLine> lines;
    for (const QString& line : usage.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("   "))) {
            lines.append({QString(), line.trimmed()});
            continue;
        }
        const QString text = line.trimmed();
        const QRegularExpressionMatch m = gap.match(text);
        if (m.hasMatch()) {
            lines.append({text.left(m.capturedStart()), text.mid(m.capturedEnd())});
        } else {
            lines.append({text, QString()});
        }
    }
    return lines;
}

void PrintHelp(QTextStream& out) {
    out << "usage: " << kSynopsis << "\n\ncommands:\n";
    QList<CliCommand> sorted = CliCommands();
    std::sort(sorted.begin(), sorted.end(),
              [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
    QList<UsageLine> lines;
    for (const CliCommand& c : sorted) {
        lines += UsageLines(c.usage);
    }
    // One column for every description: right of the longest synopsis that shares its line
    // with one; a longer synopsis stands on a line of its own.
    qsizetype width = 0;
    for (const UsageLine& line : lines) {
        if (!line.description.isEmpty()) {
            width = std::max(width, line.synopsis.size());
        }
    }
    for (const UsageLine& line : lines) {
        if (line.description.isEmpty()) {
            out << "  " << line.synopsis << "\n";
        } else {
            out << "  " << line.synopsis.leftJustified(width + 2) << line.description << "\n";
        }
    }
    out.flush();
}

// Qt's own start-up warnings (a missing XDG_RUNTIME_DIR, font database notes) are no
// business of a script reading the command's output; real failures still show.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        QTextStream(stderr) << message << "\n";
    }
}

// The command word: the first argument that is neither an option nor an option's value.
QString CommandWord(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--port" || arg == "--user") {
            ++i;
        } else if (!arg.startsWith("--")) {
            return QString::fromLocal8Bit(arg);
        }
    }
    return QString();
}

// Printouts need fonts, and fonts a GUI application: one without a display. Every other
// command stays a plain console program.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    const QString word = CommandWord(argc, argv);
    for (const CliCommand& c : CliCommands()) {
        if (c.name == word && c.needsFonts) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

CliRegistration::CliRegistration(CliCommand command) {
    Registry().append(std::move(command));
}

const QList<CliCommand>& CliCommands() {
    return Registry();
}

int UsageError(CliContext& ctx, const QString& commandName) {
    for (const CliCommand& c : CliCommands()) {
        if (c.name == commandName) {
            ctx.err << "usage: mervex-cli " << c.usage << "\n";
            ctx.err.flush();
            return kExitUsage;
        }
    }
    ctx.err << "usage: " << kSynopsis << "\n";
    ctx.err.flush();
    return kExitUsage;
}

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietQtMessages);
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    Language::InstallQtTranslation();
    Language::UseFormats();
    QCoreApplication::setOrganizationName(QStringLiteral("Mervex"));
    QCoreApplication::setApplicationName(QStringLiteral("Mervex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MERVEX_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    QStringList ports;
    QString user = QStringLiteral("---");
    while (!args.isEmpty() && args.front().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--help")) {
            PrintHelp(out);
            return kExitOk;
        }
        if ((option == QLatin1String("--port") || option == QLatin1String("--user")) &&
            !args.isEmpty()) {
            const QString value = args.takeFirst();
            if (option == QLatin1String("--port")) {
                ports << value;
            } else {
                user = CLogin::Normalised(value);
            }
            continue;
        }
        err << "mervex-cli: unknown option " << option << "\nusage: " << kSynopsis << "\n";
        return kExitUsage;
    }
    if (args.isEmpty()) {
        err << "usage: " << kSynopsis << "\n";
        return kExitUsage;
    }

    ConsoleUi ui(err);
    std::unique_ptr<Services> services;
    CliContext ctx{ports, user, out, err, [&]() -> Services& {
                       if (!services) {
                           services = std::make_unique<Services>(ui, MakeCliLink(ui, ports));
                       }
                       return *services;
                   }};

    const QString name = args.takeFirst();
    for (const CliCommand& c : CliCommands()) {
        if (c.name == name) {
            const int rc = c.run(ctx, args);
            out.flush();
            err.flush();
            return rc;
        }
    }
    err << "mervex-cli: unknown command " << name << "\nusage: " << kSynopsis << "\n";
    return kExitUsage;
}
