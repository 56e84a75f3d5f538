// The device archive: importing one full 5.X download, 100 overlapping
// downloads (two years of one device), loading a 7-day period from five
// years, the size of five years, and the peak memory of a 100-file import
// (kvl-report --import-into in a child process).

#include "SampleFile.h"
#include "archive/Archive.h"
#include "files/DataFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kvl;

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// Writes the downloads of a simulated device once; their paths.
QStringList downloads(const QString &name, int weeks, int every)
{
    const QString folder = workDir().filePath(name);
    QStringList paths;
    if (QDir(folder).exists()) {
        for (const QString &f : QDir(folder).entryList({QStringLiteral("*.kvl")}, QDir::Files, QDir::Name))
            paths << QDir(folder).filePath(f);
        return paths;
    }
    QDir().mkpath(folder);
    for (const kvlsim::HistoryFile &f : kvlsim::historyDataFiles(Version5X, 7, weeks, every)) {
        QFile out(QDir(folder).filePath(f.name));
        if (!out.open(QIODevice::WriteOnly) || out.write(f.bytes) != f.bytes.size())
            qFatal("cannot write %s", qPrintable(out.fileName()));
        paths << out.fileName();
    }
    return paths;
}

QString freshArchivePath()
{
    static int n = 0;
    const QString path = workDir().filePath(QStringLiteral("bench-%1.sqlite").arg(n++));
    return path;
}

void removeArchive(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

// A download whose memory has wrapped: every Leq slot in use.
void BM_ImportOneFull5XFile(benchmark::State &state)
{
    const QString file = downloads(QStringLiteral("full"), 20, 20).value(0);
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = freshArchivePath();
        Archive archive;
        if (archive.open(path) != ArchiveStatus::Ok)
            state.SkipWithError("archive not opened");
        state.ResumeTiming();
        const ImportResult r = archive.importFile(file);
        benchmark::DoNotOptimize(r.newRecords);
        state.PauseTiming();
        state.counters["records"] = r.newRecords;
        archive.close();
        removeArchive(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportOneFull5XFile)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_Import100OverlappingDownloads(benchmark::State &state)
{
    const QStringList files = downloads(QStringLiteral("two-years"), 100, 1);
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = freshArchivePath();
        Archive archive;
        if (archive.open(path) != ArchiveStatus::Ok)
            state.SkipWithError("archive not opened");
        state.ResumeTiming();
        qint64 added = 0;
        for (const QString &f : files)
            added += archive.importFile(f).newRecords;
        state.PauseTiming();
        state.counters["files"] = double(files.size());
        state.counters["records"] = double(added);
        archive.close();
        removeArchive(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Import100OverlappingDownloads)->Unit(benchmark::kMillisecond)->Iterations(3);

// Five years of one device, downloaded every other week, imported once.
struct FiveYears
{
    QString path;
    qint64 device = 0;
    QDate first, last;
};

const FiveYears &fiveYears()
{
    static const FiveYears five = [] {
        FiveYears f;
        f.path = workDir().filePath(QStringLiteral("five-years.sqlite"));
        Archive archive;
        if (archive.open(f.path) != ArchiveStatus::Ok)
            qFatal("archive not opened");
        for (const kvlsim::HistoryFile &file : kvlsim::historyDataFiles(Version5X, 9, 261, 2)) {
            auto store = std::make_unique<Store>();
            readDataFile(file.bytes, *store);
            archive.importStore(*store, {file.name, sha256Hex(file.bytes)});
        }
        const ArchiveDevice d = archive.devices().value(0);
        f.device = d.id;
        f.first = d.first;
        f.last = d.last;
        return f;
    }();
    return five;
}

void BM_LoadPeriod7DaysFrom5Years(benchmark::State &state)
{
    const FiveYears &five = fiveYears();
    Archive archive;
    if (archive.open(five.path) != ArchiveStatus::Ok)
        state.SkipWithError("archive not opened");
    auto store = std::make_unique<Store>();
    // A week in the middle of the five years.
    const QDate from = five.first.addDays(five.first.daysTo(five.last) / 2);
    for (auto _ : state) {
        if (archive.loadPeriod(five.device, from, from.addDays(7), *store) != ArchiveStatus::Ok)
            state.SkipWithError("period not loaded");
        benchmark::DoNotOptimize(store->Leq_Records(1, 1));
    }
    state.counters["years"] = double(five.first.daysTo(five.last)) / 365.25;
    state.counters["records"] = double(archive.devices().value(0).records);
}
BENCHMARK(BM_LoadPeriod7DaysFrom5Years)->Unit(benchmark::kMillisecond);

// The file, once every page is back in it from the write-ahead log.
void BM_ArchiveSize5Years(benchmark::State &state)
{
    const FiveYears &five = fiveYears();
    for (auto _ : state) {
        Archive archive;
        archive.open(five.path);
        archive.close(); // the last connection checkpoints the log
    }
    state.counters["MB"] = double(QFileInfo(five.path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ArchiveSize5Years)->Unit(benchmark::kMillisecond)->Iterations(1);

// Peak resident memory of `kvl-report --import-into` over 100 files.
void BM_PeakMemoryImport100Files(benchmark::State &state)
{
    const QStringList files = downloads(QStringLiteral("two-years"), 100, 1);
    const QString report =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kvl-report"));
    if (!QFileInfo::exists(report)) {
        state.SkipWithError("kvl-report not built");
        return;
    }
    for (auto _ : state) {
        const QString path = freshArchivePath();
        std::vector<QByteArray> args{QFile::encodeName(report), "--import-into", QFile::encodeName(path)};
        for (const QString &f : files)
            args.push_back(QFile::encodeName(f));
        std::vector<char *> argv;
        for (QByteArray &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t child = fork();
        if (child == 0) {
            if (!freopen("/dev/null", "w", stdout))
                _exit(126);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("kvl-report --import-into failed");
        state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
        removeArchive(path);
    }
}
BENCHMARK(BM_PeakMemoryImport100Files)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
