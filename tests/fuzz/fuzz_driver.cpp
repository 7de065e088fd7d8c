// Random input for the fuzz targets for a fixed time each: mutations of the seeds (bytes
// flipped, inserted, removed, pieces of other seeds spliced in, long runs), under the
// sanitizer build in CI. Prints how many inputs each target took without a finding.
//   rur_fuzz [--seconds N] [--seed N] [TARGET ...]
#include "app/Subsystems.h"
#include "fuzz/fuzz_targets.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <cstdio>
#include <random>

namespace {

QByteArray mutate(QByteArray data, const QList<QByteArray> &seeds, std::mt19937 &rng)
{
    auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    const int steps = 1 + pick(8);
    for (int s = 0; s < steps; ++s) {
        switch (pick(7)) {
        case 0:
            if (!data.isEmpty())
                data[pick(int(data.size()))] = char(pick(256));
            break;
        case 1:
            data.insert(data.isEmpty() ? 0 : pick(int(data.size()) + 1), char(pick(256)));
            break;
        case 2:
            if (!data.isEmpty())
                data.remove(pick(int(data.size())), 1 + pick(8));
            break;
        case 3: {
            const QByteArray &other = seeds[pick(int(seeds.size()))];
            data.insert(data.isEmpty() ? 0 : pick(int(data.size()) + 1), other.mid(pick(int(other.size()) + 1)));
            break;
        }
        case 4:  // a long run, to reach length limits
            data.append(QByteArray(pick(2) ? 1 + pick(20000) : 1 + pick(64), "&\"<>^;.,/+-0123456789xč\n\r["[pick(27)]));
            break;
        case 5: {
            static const char *const tokens[] = {"&", "&amp;", "\xC5", "\xF0\x9F\x98\x80", "'", "''", "(", ")", " and ",
                                                 " or ", " not ", "=", "<>", "[", "]", "\r\n", "\0", "31.02.", "+99999"};
            data.insert(data.isEmpty() ? 0 : pick(int(data.size()) + 1),
                        QByteArray(tokens[pick(int(std::size(tokens)))]));
            break;
        }
        default:
            if (data.size() > 1)
                data.truncate(pick(int(data.size())));
        }
    }
    return data.left(200000);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    rur::app::addSubsystemTableRules();
    double seconds = 5;
    unsigned seed = std::random_device{}();
    QStringList wanted;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seconds") && i + 1 < args.size())
            seconds = args[++i].toDouble();
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            seed = args[++i].toUInt();
        else
            wanted.append(args[i]);
    }
    // Each target draws from a generator of its own, seeded from the run's seed and the target's
    // name: the inputs of one target do not depend on how long the others ran, so a finding
    // comes back with the same seed and that target alone.
    std::printf("seed %u (a finding comes back with: rur_fuzz --seed %u TARGET)\n", seed, seed);
    std::fflush(stdout);
    for (const rur::fuzz::Target &target : rur::fuzz::targets()) {
        if (!wanted.isEmpty() && !wanted.contains(QLatin1String(target.name)))
            continue;
        std::printf("%s: seed %u\n", target.name, seed);
        std::fflush(stdout);
        std::seed_seq targetSeed{seed, unsigned(qHash(QByteArray(target.name), 0))};
        std::mt19937 rng(targetSeed);
        long runs = 0;
        for (const QByteArray &s : target.seeds) {
            target.run(s);
            ++runs;
        }
        QElapsedTimer timer;
        timer.start();
        QByteArray current = target.seeds.first();
        while (timer.elapsed() < qint64(seconds * 1000)) {
            if (runs % 64 == 0)
                current = target.seeds[int(rng() % unsigned(target.seeds.size()))];
            current = mutate(current, target.seeds, rng);
            target.run(current);
            ++runs;
        }
        std::printf("%s: %ld inputs in %.1f s, no finding\n", target.name, runs, double(timer.elapsed()) / 1000);
        std::fflush(stdout);
    }
    return 0;
}
