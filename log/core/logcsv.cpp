#include "logcsv.h"

#include <QTextStream>

namespace {

void quoted(QTextStream &out, const QString &text)
{
    // A quote inside a name is written as it is.
    out << '"' << text << '"';
}

template<typename Series, typename Value>
void cell(QTextStream &out, const Series &series, int row, Value value)
{
    if (row < series.size())
        out << value(series.at(row));
}

} // namespace

void LogCsv::write(QTextStream &out, const SkwHistory &history, const QStringList &channelNames)
{
    quoted(out, QStringLiteral("Error Timestamp[s]"));
    out << ';';
    quoted(out, QStringLiteral("Configuration Timestamp[s]"));
    for (int n = 0; n < SkwHistory::kChannels; ++n) {
        const QString name = channelNames.value(n);
        out << ';';
        quoted(out, name + QStringLiteral(" Timestamp[s]"));
        out << ';';
        quoted(out, name + QStringLiteral(" Value"));
    }
    out << '\n';

    const auto plain = [](int v) { return v; };
    const auto time = [](const SkwHistory::Point &p) { return p.time; };
    const auto value = [](const SkwHistory::Point &p) { return p.value; };
    const int lines = history.longestSeries();
    for (int k = 0; k < lines; ++k) {
        cell(out, history.errors, k, plain);
        out << ';';
        cell(out, history.configurations, k, plain);
        for (const auto &channel : history.channels) {
            out << ';';
            cell(out, channel, k, time);
            out << ';';
            cell(out, channel, k, value);
        }
        out << '\n';
    }
}

QByteArray LogCsv::toBytes(const SkwHistory &history, const QStringList &channelNames)
{
    QByteArray bytes;
    QTextStream out(&bytes);
    out.setCodec("UTF-8");
    write(out, history, channelNames);
    out.flush();
    return bytes;
}
