// The crash test: runs rur-cli procedures and kills them (SIGKILL) at random moments, then
// opens the data as the program next would and checks that every table opens and that the
// data equals its state before the procedure or after it, table by table, with nothing left
// behind by the killed process. Seeded and bounded; the seed is printed, and
//   rur_crash --seed N [--kills K] [--only PROCEDURE]
// repeats a run exactly.
#include "app/Subsystems.h"
#include "crash/crash_cases.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <optional>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace rur::crash;

namespace {

// Starts rur-cli with the arguments; the child's output goes nowhere.
pid_t start(const QStringList &args)
{
    QList<QByteArray> bytes{QByteArray(RUR_CLI_PATH)};
    for (const QString &a : args)
        bytes.append(a.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        setenv("XDG_DATA_HOME", "/nonexistent-rur-crash", 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// Runs to the end; the exit status, or -1 when the process did not end normally.
int runToEnd(const QStringList &args)
{
    const pid_t pid = start(args);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Tally {
    int kills = 0;      // runs that were really cut short
    int finished = 0;   // runs that ended before the kill came
    int before = 0, after = 0, between = 0;
    QStringList faults;
};

Tally runCase(const CrashCase &c, int kills, QRandomGenerator &random)
{
    Tally tally;
    Workspace master;
    c.prepare(master);
    const State before = captureAfterOpening(master, c.scope);

    // How long the program takes to start and open the data, and one run to the end, which
    // gives the state after and how long the whole procedure takes: the kills fall between.
    const auto median = [](QList<qint64> times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    QList<qint64> startups, durations;
    QElapsedTimer timer;
    int status = 0;
    std::optional<Workspace> full;
    for (int i = 0; i < 3; ++i) {
        Workspace probe = master.copy();
        timer.start();
        runToEnd(c.scope == Scope::DataSet ? QStringList{u"--root"_s, probe.root(), u"open"_s, u"1"_s}
                                           : QStringList{u"--root"_s, probe.root(), u"sets"_s});
        startups.append(timer.nsecsElapsed() / 1000);
        full.emplace(master.copy());
        timer.restart();
        status = runToEnd(c.arguments(*full));
        durations.append(timer.nsecsElapsed() / 1000);
    }
    const qint64 earliest = median(startups) * 9 / 10;
    const qint64 span = std::max<qint64>(median(durations) - earliest, 1000);
    if (status != 0) {
        tally.faults.append(u"%1: the procedure failed without a kill (exit %2)"_s.arg(c.name).arg(status));
        return tally;
    }
    const State after = captureAfterOpening(*full, c.scope);
    if ((after == before) == c.changesData) {
        tally.faults.append(c.changesData ? u"%1: the procedure changed nothing"_s.arg(c.name)
                                          : u"%1: the procedure changed the data"_s.arg(c.name));
        return tally;
    }
    QString fullProblem;
    if (c.extraCheck && !c.extraCheck(*full, &fullProblem)) {
        tally.faults.append(c.name + u" without a kill: "_s + fullProblem);
        return tally;
    }

    // Anywhere from the end of the opening to the end of a whole run; a run that ended before
    // its kill makes the later ones come earlier, since the timing differs from run to run.
    qint64 from = earliest, to = earliest + span;
    for (int attempt = 0; tally.kills < kills && attempt < kills * 6; ++attempt) {
        Workspace work = master.copy();
        const pid_t pid = start(c.arguments(work));
        const qint64 delay = from + qint64(random.bounded(quint64(std::max<qint64>(to - from, 1))));
        usleep(useconds_t(delay));
        kill(pid, SIGKILL);
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        if (WIFSIGNALED(wstatus)) {
            ++tally.kills;
        } else {
            ++tally.finished;
            to = std::max<qint64>(delay, 1000);
            from = std::min(from, to * 3 / 4);
        }
        const QString where = u"%1 killed after %2 µs"_s.arg(c.name).arg(delay);
        State now;
        QString problem;
        try {
            now = captureAfterOpening(work, c.scope);
        } catch (const std::exception &e) {
            problem = u"does not open: "_s + QString::fromUtf8(e.what());
        }
        if (problem.isEmpty() && c.extraCheck)
            c.extraCheck(work, &problem);
        if (!problem.isEmpty()) {
            ++tally.between;
            tally.faults.append(where + u": "_s + problem);
        } else if (now == before && (c.changesData || !QFile::exists(work.aux() + u"zaloha.zip"_s))) {
            ++tally.before;
        } else if (now == after) {
            ++tally.after;
        } else {
            ++tally.between;
            tally.faults.append(where + u": "_s + describeDifference(now, before, after));
        }
    }
    return tally;
}

}  // namespace

int main(int argc, char **argv)
{
    rur::app::addSubsystemTableRules();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&](const QString &name, const QString &fallback) {
        const qsizetype i = args.indexOf(name);
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    const quint32 seed = option(u"--seed"_s, QString::number(QRandomGenerator::system()->generate())).toUInt();
    const int kills = option(u"--kills"_s, u"30"_s).toInt();
    const QString only = option(u"--only"_s, QString());
    std::printf("rur_crash --seed %u --kills %d\n", seed, kills);
    std::fflush(stdout);

    QRandomGenerator random(seed);
    QElapsedTimer total;
    total.start();
    int faults = 0;
    for (const CrashCase &c : crashCases()) {
        if (!only.isEmpty() && c.name != only)
            continue;
        QElapsedTimer timer;
        timer.start();
        const Tally t = runCase(c, kills, random);
        std::printf("%-18s kills %3d  ended first %3d  before %3d  after %3d  between %d  (%.1f s)\n",
                    qPrintable(c.name), t.kills, t.finished, t.before, t.after, t.between,
                    double(timer.elapsed()) / 1000);
        for (const QString &f : t.faults)
            std::printf("  FAULT %s\n", qPrintable(f));
        std::fflush(stdout);
        faults += int(t.faults.size());
        if (t.kills < kills) {
            std::printf("  FAULT %s: only %d of %d runs were cut short\n", qPrintable(c.name), t.kills, kills);
            ++faults;
        }
    }
    std::printf("%d faults in %.1f s (seed %u)\n", faults, double(total.elapsed()) / 1000, seed);
    return faults == 0 ? 0 : 1;
}
