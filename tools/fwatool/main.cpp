#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "fwabuilder.h"

// fwatool -o OUT.fwa [--type 3|2] [--name TEXT] (--paged|--single|--info FILE)...
// Builds one archive group of the type (3 application firmware, 2 keys) from
// the files in the order given.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString out;
    QString name;
    int type = 3;
    QList<QPair<int, QString>> inputs;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "fwatool: %s needs a value\n", qPrintable(a));
            return 2;
        }
        const QString value = args.at(++i);
        if (a == QLatin1String("-o"))
            out = value;
        else if (a == QLatin1String("--type"))
            type = value.toInt();
        else if (a == QLatin1String("--name"))
            name = value;
        else if (a == QLatin1String("--paged"))
            inputs.append({3, value});
        else if (a == QLatin1String("--single"))
            inputs.append({2, value});
        else if (a == QLatin1String("--info"))
            inputs.append({1, value});
        else {
            std::fprintf(stderr, "fwatool: unknown option %s\n", qPrintable(a));
            return 2;
        }
    }
    if (out.isEmpty() || inputs.isEmpty() || (type != 2 && type != 3)) {
        std::fprintf(stderr,
                     "usage: fwatool -o OUT.fwa [--type 3|2] [--name TEXT] (--paged|--single|--info FILE)...\n");
        return 2;
    }
    FwaBuilder builder(type, name);
    for (const auto &input : inputs) {
        QString error;
        if (!builder.addFile(input.second, input.first, &error)) {
            std::fprintf(stderr, "fwatool: %s\n", qPrintable(error));
            return 1;
        }
    }
    const loader::errorCode_e saved = builder.save(out);
    if (saved != loader::ERR_OK) {
        std::fprintf(stderr, "fwatool: cannot write %s (%d)\n", qPrintable(out), int(saved));
        return 1;
    }
    std::printf("%s: %d section(s), type %d\n", qPrintable(out), int(inputs.size()), type);
    return 0;
}
