// Replays a fuzz target without libFuzzer, so every ctest run checks the reader against the
// seeds, every truncation of them and a fixed set of byte mutations; files or folders named on
// the command line (for instance a corpus libFuzzer grew) are replayed too.
#include "FuzzTarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <cstdio>
#include <random>

namespace {

void run(const QByteArray& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), static_cast<size_t>(input.size()));
}

QByteArray mutate(QByteArray input, std::mt19937& rng)
{
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
        const auto at = input.isEmpty() ? 0 : static_cast<qsizetype>(rng() % static_cast<unsigned>(input.size()));
        switch (rng() % 4) {
        case 0:
            if (!input.isEmpty())
                input[at] = static_cast<char>(rng());
            break;
        case 1: input.insert(at, static_cast<char>(rng())); break;
        case 2:
            if (!input.isEmpty())
                input.remove(at, 1 + static_cast<qsizetype>(rng() % 8));
            break;
        default:
            // Extreme 16-bit values where counts and lengths live.
            if (input.size() > at + 1) {
                const char pick[][2] = {{'\xFF', '\xFF'}, {'\xFF', '\x7F'}, {'\x00', '\x80'}, {'\x2D', '\x01'}};
                const auto& p = pick[rng() % 4];
                input[at] = p[0];
                input[at + 1] = p[1];
            }
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto seeds = fuzzSeeds();
    // --write-corpus DIR: only write the seeds, as libFuzzer's starting corpus.
    if (argc == 3 && QByteArrayView(argv[1]) == "--write-corpus") {
        QDir().mkpath(QString::fromLocal8Bit(argv[2]));
        int n = 0;
        for (const QByteArray& seed : seeds) {
            QFile out(QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("seed%1").arg(++n)));
            if (!out.open(QIODevice::WriteOnly) || out.write(seed) != seed.size())
                return 1;
        }
        return 0;
    }
    std::mt19937 rng(20261208);
    long runs = 0;
    for (const QByteArray& seed : seeds) {
        for (qsizetype cut = 0; cut <= seed.size(); cut += (seed.size() > 4000 ? 7 : 1), ++runs)
            run(seed.left(cut));
        for (int i = 0; i < 3000; ++i, ++runs)
            run(mutate(seed, rng));
    }
    for (int i = 1; i < argc; ++i) {
        QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories);
        QStringList files;
        if (QFileInfo(QString::fromLocal8Bit(argv[i])).isFile())
            files << QString::fromLocal8Bit(argv[i]);
        while (it.hasNext())
            files << it.next();
        for (const QString& f : files) {
            QFile file(f);
            if (file.open(QIODevice::ReadOnly)) {
                run(file.readAll());
                ++runs;
            }
        }
    }
    std::printf("%ld inputs replayed without a crash\n", runs);
    return 0;
}
