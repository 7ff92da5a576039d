// x12gen: writes a generated interchange for benchmarks and tests.

#include "X12Generator.h"

#include <QByteArray>

#include <cstdio>
#include <cstring>

namespace {

const char Usage[] = "Usage: x12gen [--size N[K|M|G]] [--breaks crlf|lf|none] [--seed N] OUTPUT\n";

} // namespace

int main(int argc, char *argv[])
{
    X12Generator::Options options;
    const char *output = nullptr;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        const bool hasValue = i + 1 < argc;
        bool ok = true;
        if (arg == "--size" && hasValue)
            ok = X12Generator::ParseSize(argv[++i], options.size);
        else if (arg == "--breaks" && hasValue)
            ok = X12Generator::ParseLineBreaks(argv[++i], options.breaks);
        else if (arg == "--seed" && hasValue)
            options.seed = QByteArray(argv[++i]).toULongLong(&ok);
        else if (!arg.startsWith("--") && !output)
            output = argv[i];
        else
            ok = false;
        if (!ok) {
            std::fputs(Usage, stderr);
            return 2;
        }
    }
    if (!output) {
        std::fputs(Usage, stderr);
        return 2;
    }
    std::FILE *out = std::fopen(output, "wb");
    if (!out) {
        std::perror(output);
        return 1;
    }
    const qint64 segments = X12Generator(options).Write(out);
    if (std::fclose(out) != 0) {
        std::perror(output);
        return 1;
    }
    std::printf("%lld segments\n", static_cast<long long>(segments));
    return 0;
}
