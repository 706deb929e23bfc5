#include "engine/SimOptions.h"

#include <QCommandLineParser>

namespace {

// Ardel 60 meters never shipped with a firmware below 2.42: a plain "--model" of that
// family must not play a meter that the program has to turn away as outdated.
const QString kArdel60Firmware = QStringLiteral("2.50");

// Option names with their value names and defaults; the help texts say what they do.
QList<QCommandLineOption> Options() {
    const MeterSetup meter;
    const SimOptions sim;
    using O = QCommandLineOption;
    return {
        O(QStringLiteral("model"), QStringLiteral("Model name."), QStringLiteral("NAME"),
          meter.model),
        O(QStringLiteral("firmware"),
          QStringLiteral("Firmware version (%1 for Ardel 60 models).").arg(kArdel60Firmware),
          QStringLiteral("VERSION"), meter.firmware),
        O(QStringLiteral("serial"), QStringLiteral("Serial number."), QStringLiteral("TEXT"),
          meter.serial),
        O(QStringLiteral("variant"), QStringLiteral("Variant text."), QStringLiteral("TEXT"),
          meter.variant),
        O(QStringLiteral("baud"), QStringLiteral("The only line speed it answers at."),
          QStringLiteral("RATE"), QString::number(sim.baud)),
        O(QStringLiteral("records"), QStringLiteral("Generated records in the data memory."),
          QStringLiteral("N"), QString::number(sim.records)),
        O(QStringLiteral("records-file"), QStringLiteral("Data memory: the record lines of FILE."),
          QStringLiteral("FILE")),
        O(QStringLiteral("programs"), QStringLiteral("Example user programs stored from 900 on."),
          QStringLiteral("N"), QString::number(meter.programs)),
        O(QStringLiteral("link"), QStringLiteral("Keep a symbolic link at PATH to the device."),
          QStringLiteral("PATH")),
        O(QStringLiteral("log"), QStringLiteral("Append every command line received to FILE."),
          QStringLiteral("FILE")),
        O(QStringLiteral("fault"),
          QStringLiteral("refuse:CMD, silent:CMD, chunk:N, delay-ms:N or garbage-after; "
                         "repeatable."),
          QStringLiteral("FAULT")),
        O(QStringList{QStringLiteral("h"), QStringLiteral("help")},
          QStringLiteral("Show this help.")),
    };
}

bool Whole(const QString& text, int low, int high, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

} // namespace

std::optional<SimOptions> ParseSimOptions(const QStringList& arguments, QString& error,
                                          QString& help) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Meter emulator on a pseudo-terminal: prints the device path, then "
                       "answers meter commands until SIGTERM or SIGINT."));
    for (QCommandLineOption option : Options()) {
        if (!option.defaultValues().isEmpty()) {
            option.setDescription(option.description() + QStringLiteral(" Default: ") +
                                  option.defaultValues().constFirst());
        }
        parser.addOption(option);
    }
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        help = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                         QStringLiteral("mervex-meter-sim"));
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments()[0]);
        return std::nullopt;
    }
    SimOptions options;
    options.setup.model = parser.value(QStringLiteral("model"));
    options.setup.firmware = parser.value(QStringLiteral("firmware"));
    if (!parser.isSet(QStringLiteral("firmware")) &&
        MeterModel::Of(options.setup.model).family == MeterFamily::Ardel60) {
        options.setup.firmware = kArdel60Firmware;
    }
    options.setup.serial = parser.value(QStringLiteral("serial"));
    options.setup.variant = parser.value(QStringLiteral("variant"));
    options.recordsFile = parser.value(QStringLiteral("records-file"));
    options.link = parser.value(QStringLiteral("link"));
    options.log = parser.value(QStringLiteral("log"));
    if (!Whole(parser.value(QStringLiteral("baud")), 50, 4000000, options.baud)) {
        error = QStringLiteral("--baud needs a rate between 50 and 4000000");
        return std::nullopt;
    }
    if (!Whole(parser.value(QStringLiteral("records")), 0, SimOptions::kMaxRecords,
               options.records)) {
        error =
            QStringLiteral("--records needs a count between 0 and %1").arg(SimOptions::kMaxRecords);
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("records")) && parser.isSet(QStringLiteral("records-file"))) {
        error = QStringLiteral("--records and --records-file exclude each other");
        return std::nullopt;
    }
    if (!Whole(parser.value(QStringLiteral("programs")), 0, 100, options.setup.programs)) {
        error = QStringLiteral("--programs needs a count between 0 and 100");
        return std::nullopt;
    }
    for (const QString& fault : parser.values(QStringLiteral("fault"))) {
        if (!options.setup.faults.Add(fault, error)) {
            return std::nullopt;
        }
    }
    return options;
}
