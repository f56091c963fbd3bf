#include "logexportoptions.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include "loghandlercont.h"
#include "logsave.h"

QString LogExportOptions::usage()
{
    return QStringLiteral(
        "Usage: logexport [options] INPUT\n"
        "Reads a raw device log (32-byte records as the unit hands them over) or a\n"
        "LOG file (suffix .hex) and writes its text, CSV and LOG files. Bytes of the\n"
        "input that are not read (a cut last record, bytes after a LOG file's records)\n"
        "are named on stderr, as the log page names them; a damaged LOG file, and an\n"
        "input without one whole record, is refused. No output may be the input.\n"
        "  -o, --output BASE        BASE.txt, BASE.csv and BASE.hex\n"
        "  --text FILE, --csv FILE, --log FILE   one file each\n"
        "  --format raw|log         the input's kind (default: log for *.hex in any\n"
        "                           case, else raw)\n"
        "  --host-name TEXT, --cpu TEXT, --kernel TEXT, --os TEXT\n"
        "                           the machine texts that otherwise come from this PC,\n"
        "                           or from a LOG file: the PC that read its log\n"
        "  --identification HEX     the unit's 11-byte identification record (22 hex\n"
        "                           digits); a LOG file's own is used otherwise\n"
        "  --channel-name N=TEXT    the name of channel N (1..7) in the CSV header\n"
        "  -h, --help               this text\n");
}

bool LogExportOptions::parse(const QStringList &arguments, QString *error)
{
    QCommandLineParser p;
    p.addOptions({
        {{QStringLiteral("o"), QStringLiteral("output")}, QString(), QStringLiteral("base")},
        {QStringLiteral("text"), QString(), QStringLiteral("file")},
        {QStringLiteral("csv"), QString(), QStringLiteral("file")},
        {QStringLiteral("log"), QString(), QStringLiteral("file")},
        {QStringLiteral("format"), QString(), QStringLiteral("kind")},
        {QStringLiteral("host-name"), QString(), QStringLiteral("text")},
        {QStringLiteral("cpu"), QString(), QStringLiteral("text")},
        {QStringLiteral("kernel"), QString(), QStringLiteral("text")},
        {QStringLiteral("os"), QString(), QStringLiteral("text")},
        {QStringLiteral("identification"), QString(), QStringLiteral("hex")},
        {QStringLiteral("channel-name"), QString(), QStringLiteral("n=text")},
        {{QStringLiteral("h"), QStringLiteral("help")}, QString()},
    });
    auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!p.parse(arguments))
        return fail(p.errorText());
    // Asking for help needs no input and no output.
    help = p.isSet(QStringLiteral("help"));
    if (help)
        return true;
    if (p.positionalArguments().size() != 1)
        return fail(QStringLiteral("name exactly one input file"));
    input = p.positionalArguments().constFirst();

    const QString base = p.value(QStringLiteral("output"));
    if (!base.isEmpty()) {
        textFile = base + QStringLiteral(".txt");
        csvFile = base + QStringLiteral(".csv");
        logFile = base + QStringLiteral(".hex");
    }
    if (p.isSet(QStringLiteral("text")))
        textFile = p.value(QStringLiteral("text"));
    if (p.isSet(QStringLiteral("csv")))
        csvFile = p.value(QStringLiteral("csv"));
    if (p.isSet(QStringLiteral("log")))
        logFile = p.value(QStringLiteral("log"));
    if (textFile.isEmpty() && csvFile.isEmpty() && logFile.isEmpty())
        return fail(QStringLiteral("name an output (-o, --text, --csv or --log)"));

    // Mail programs and other systems hand the same file on as "UNIT.HEX".
    format = input.endsWith(QLatin1String(".hex"), Qt::CaseInsensitive) ? Format::Log : Format::Raw;
    if (p.isSet(QStringLiteral("format"))) {
        const QString kind = p.value(QStringLiteral("format"));
        if (kind == QLatin1String("raw"))
            format = Format::Raw;
        else if (kind == QLatin1String("log"))
            format = Format::Log;
        else
            return fail(QStringLiteral("--format takes raw or log"));
    }

    const QStringList machineOptions{QStringLiteral("host-name"), QStringLiteral("cpu"), QStringLiteral("kernel"),
                                     QStringLiteral("os")};
    for (int i = 0; i < machineOptions.size(); ++i)
        machine[i] = p.value(machineOptions.at(i));

    if (p.isSet(QStringLiteral("identification"))) {
        const QByteArray hex = p.value(QStringLiteral("identification")).toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (hex.size() != 2 * ProductInfoRecord::kSize || bytes.size() != ProductInfoRecord::kSize
            || bytes.toHex() != hex.toLower())
            return fail(QStringLiteral("--identification takes %1 hex digits").arg(2 * ProductInfoRecord::kSize));
        identification = ProductInfoRecord::fromBytes(reinterpret_cast<const uint8_t *>(bytes.constData()));
        hasIdentification = true;
    }

    for (const QString &value : p.values(QStringLiteral("channel-name"))) {
        const int eq = value.indexOf(QLatin1Char('='));
        bool ok = false;
        const int n = eq > 0 ? value.left(eq).toInt(&ok) : 0;
        if (!ok || n < 1 || n > 7)
            return fail(QStringLiteral("--channel-name takes N=TEXT with N from 1 to 7"));
        channelNames.insert(n - 1, value.mid(eq + 1));
    }
    return true;
}

QStringList LogExportOptions::outputs() const
{
    QStringList names;
    if (!textFile.isEmpty())
        names << LogSave::completeName(textFile, LoghandlerCont::kTextSuffix);
    if (!csvFile.isEmpty())
        names << LogSave::completeName(csvFile, LoghandlerCont::kCsvSuffix);
    if (!logFile.isEmpty())
        names << LogSave::completeName(logFile, LoghandlerCont::kLogSuffix);
    return names;
}

QString LogExportOptions::outputThatIsTheInput() const
{
    // The same file under another name (a link, "./", "..") is the same
    // file: compared where both lead to.
    const QString in = QFileInfo(input).canonicalFilePath();
    if (in.isEmpty())
        return QString();
    for (const QString &name : outputs())
        if (QFileInfo(name).canonicalFilePath() == in)
            return name;
    return QString();
}
