#include "ui/shell/CommandLine.h"

#include <QCoreApplication>
#include <QHash>

namespace {

const QString kPortOption = QStringLiteral("--port");

} // namespace

QStringList PortOptions(const QStringList& arguments) {
    QStringList ports;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == kPortOption && i + 1 < arguments.size()) {
            ports << arguments[++i];
        } else if (argument.startsWith(kPortOption + QLatin1Char('='))) {
            ports << argument.mid(kPortOption.size() + 1);
        }
    }
    return ports;
}

QStringList FileArguments(const QStringList& arguments) {
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-'))) {
            files << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == kPortOption) {
            ++i; // its device
        }
    }
    return files;
}

namespace {

const char kUsage[] = "usage: mervex [--port DEVICE]... [FILE]...\n"
                      "\n"
                      "  --port DEVICE   look for the meter on DEVICE only (repeatable)\n"
                      "  FILE            dataset (.csv) or calibration protocol file to open\n"
                      "  --help          show this text and exit\n"
                      "  --version       show the version and exit\n"
                      "\n"
                      "Qt's own options (-platform NAME, -style NAME, ...) are accepted.\n"
                      "mervex-cli is the command-line program.\n";

// Qt reads these itself (QGuiApplication, QApplication and the X11 platform), with one or
// two dashes; true when the value is the next argument.
const QHash<QString, bool>& QtOptions() {
    static const QHash<QString, bool> options{
        {QStringLiteral("platform"), true},
        {QStringLiteral("platformpluginpath"), true},
        {QStringLiteral("platformtheme"), true},
        {QStringLiteral("plugin"), true},
        {QStringLiteral("qwindowgeometry"), true},
        {QStringLiteral("qwindowicon"), true},
        {QStringLiteral("qwindowtitle"), true},
        {QStringLiteral("reverse"), false},
        {QStringLiteral("session"), true},
        {QStringLiteral("display"), true},
        {QStringLiteral("geometry"), true},
        {QStringLiteral("style"), true},
        {QStringLiteral("stylesheet"), true},
        {QStringLiteral("widgetcount"), false},
        {QStringLiteral("name"), true},
        {QStringLiteral("title"), true},
        {QStringLiteral("visual"), true},
        {QStringLiteral("nograb"), false},
        {QStringLiteral("dograb"), false},
        {QStringLiteral("sync"), false},
        {QStringLiteral("qmljsdebugger"), false},
    };
    return options;
}

// The option's name without its dashes and "=value"; empty for a file.
QString OptionName(const QString& argument) {
    if (!argument.startsWith(QLatin1Char('-')) || argument.size() < 2) {
        return {};
    }
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.left(name.indexOf(QLatin1Char('=')));
}

} // namespace

std::optional<int> AnswerWithoutWindow(const QStringList& arguments, QTextStream& out,
                                       QTextStream& err) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            break;
        }
        const QString name = OptionName(argument);
        const bool inlineValue = argument.contains(QLatin1Char('='));
        if (name.isEmpty()) {
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            out << kUsage;
            return 0;
        }
        if (argument == QLatin1String("--version")) {
            out << "mervex " << QCoreApplication::applicationVersion() << "\n";
            return 0;
        }
        if (name == kPortOption.mid(2) && argument.startsWith(QLatin1String("--"))) {
            i += inlineValue ? 0 : 1;
        } else if (const auto qt = QtOptions().constFind(name); qt != QtOptions().cend()) {
            i += (*qt && !inlineValue) ? 1 : 0;
        } else {
            err << "mervex: unknown option " << argument << "\n" << kUsage;
            return 2;
        }
    }
    return std::nullopt;
}
