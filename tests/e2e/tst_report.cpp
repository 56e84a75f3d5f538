// kvl-report as a user runs it: bad files among good ones, bad options,
// empty periods, figures that must not depend on the period asked for, many
// files at once, --help.

#include "TableStores.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QStringList errors; // lines of standard error
};

QString reportProgram()
{
    return qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl-report");
}

Run finished(QProcess &p)
{
    Run r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.errors = QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return r;
}

Run runReport(const QStringList &args)
{
    QProcess p;
    p.start(reportProgram(), args);
    return finished(p);
}

QString sample(const char *name)
{
    return qEnvironmentVariable("KVL_SAMPLES") + QLatin1Char('/') + QLatin1String(name);
}

// Rows of a CSV output whose second column is `scope`, keyed by their start.
QMap<QString, QString> rowsOf(const QByteArray &csv, const QString &scope)
{
    QMap<QString, QString> rows;
    for (const QString &line : QString::fromUtf8(csv).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char(','));
        if (f.value(1) == scope)
            rows.insert(f.value(2), line);
    }
    return rows;
}

// The largest resident size of the program run with `args`, in KiB, with
// its output thrown away; -1 when it did not end well.
long peakKiB(const QStringList &args)
{
    QList<QByteArray> bytes{QFile::encodeName(reportProgram())};
    for (const QString &a : args)
        bytes << QFile::encodeName(a);
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    struct rusage usage;
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT

private slots:
    // Bad files between two good ones: the good ones are reported, each bad
    // one named on standard error with why (the loader's message and where
    // it failed, or what the path is), and the exit status is 1. A FIFO
    // without a writer and a device are refused without waiting, a huge
    // file without being read.
    void badFilesAmongGood_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("csv") << "csv";
        QTest::newRow("json") << "json";
    }
    void badFilesAmongGood()
    {
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString truncated = dir.filePath(QStringLiteral("truncated.kvl"));
        QVERIFY(QFile::copy(sample("sample_v5.kvl"), truncated) && QFile::resize(truncated, 100000));
        const QString missing = dir.filePath(QStringLiteral("missing.kvl"));
        const QString folder = dir.filePath(QStringLiteral("folder.kvl"));
        QVERIFY(QDir().mkdir(folder));
        const QString fifo = dir.filePath(QStringLiteral("fifo.kvl"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString huge = dir.filePath(QStringLiteral("huge.kvl"));
        {
            QFile f(huge);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("KVL_24-2_Data_for_Version_5!!!\r\n 0");
        }
        QVERIFY(QFile::resize(huge, qint64(1) << 30)); // sparse: no disk used
        const QString text = dir.filePath(QStringLiteral("notes.kvl"));
        {
            QFile f(text);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Shopping list\r\n");
        }

        const QStringList good{sample("sample_v5.kvl"), sample("sample_v4.kvl")};
        const Run r = runReport({"--summary", "--format", format, good[0], truncated, missing, folder, fifo,
                                 "/dev/zero", huge, text, good[1]});
        QCOMPARE(r.status, 1);
        // Notes on the good files' threshold schedules may come first.
        const QStringList errors = r.errors.filter(QRegularExpression(QStringLiteral("^(?!.*: warning: )")));
        const QString open = QStringLiteral("kvl-report: %1: It is impossible to open this file");
        QCOMPARE(errors, QStringList({
                             "kvl-report: " + truncated +
                                 ": It is impossible to read file data: It is not a KVL 24-2 file !!!! (Line "
                                 "2 of the file, Leq records, record 4322, value 1: the file ends here "
                                 "(\"255\").)",
                             open.arg(missing) + " (No such file or directory)",
                             open.arg(folder) + " (is a directory)",
                             open.arg(fifo) + " (is not a regular file)",
                             open.arg("/dev/zero") + " (is not a regular file)",
                             open.arg(huge) + " (larger than any data file: 1073741824 bytes, at most "
                                              "534467)",
                             open.arg(text) + ": It is not a KVL 24-2/36 file !!!! (Line 1 of the file, "
                                              "marker: no marker of a KVL 24-2 or KVL 36 data file "
                                              "(\"Shopping\").)",
                         }));
        // The good files' own rows, in order: JSON objects, or CSV rows of scope "file".
        QStringList reported;
        for (const QJsonValue &v : QJsonDocument::fromJson(r.out).array())
            reported << v.toObject().value(QStringLiteral("file")).toString();
        static const QRegularExpression csvRow(QStringLiteral("(?:^|\r\n)([^,\r\n]*),file,"));
        for (auto it = csvRow.globalMatch(QString::fromUtf8(r.out)); it.hasNext();)
            reported << it.next().captured(1);
        QCOMPARE(reported, good);
    }

    void badOptions_data() { kvl::test::addDataRows(QStringLiteral("export/badoptions.txt")); }
    void badOptions()
    {
        QFETCH(QStringList, c);
        const QString error = c[2];
        QStringList args = c[1].split(' ');
        args.replaceInStrings(QStringLiteral("sample.kvl"), sample("sample_v5.kvl"));
        const Run r = runReport(args);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.errors.value(0).startsWith(QStringLiteral("kvl-report: ") + error),
                 qPrintable(r.errors.value(0)));
        QVERIFY(r.out.isEmpty());
    }

    // Whole runs of export/runs.txt: exit status, standard output and
    // standard error, with the sample's path written $v5.
    void runs_data() { kvl::test::addDataRows(QStringLiteral("export/runs.txt")); }
    void runs()
    {
        QFETCH(QStringList, c);
        const QString v5 = sample("sample_v5.kvl");
        QStringList args = c[1].split(' ');
        args.replaceInStrings(QStringLiteral("$v5"), v5);
        const Run r = runReport(args);
        QCOMPARE(r.status, c[2].toInt());
        QCOMPARE(QString::fromUtf8(r.out).replace(v5, QStringLiteral("$v5")), c[3]);
        QCOMPARE(r.errors.join('\n').replace(v5, QStringLiteral("$v5")), c[4]);
    }

    // A one-day run gives, for every day of every sample, the very row the
    // whole-file run gives for that day: the threshold in force and the
    // parts never depend on the period asked for.
    void oneDayEqualsWholeFile_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *name : {"sample_v3.kvl", "sample_v4.kvl", "sample_v5.kvl", "sample_v70.kvl"})
            QTest::newRow(name) << sample(name);
    }
    void oneDayEqualsWholeFile()
    {
        QFETCH(QString, file);
        const Run whole = runReport({QStringLiteral("--summary"), file});
        QCOMPARE(whole.status, 0);
        const QMap<QString, QString> days = rowsOf(whole.out, QStringLiteral("day"));
        const QMap<QString, QString> parts = rowsOf(whole.out, QStringLiteral("part"));
        QVERIFY(days.size() > 30);
        int differences = 0;
        auto compare = [&differences](const QString &wholeRow, const QString &oneDayRow) {
            if (oneDayRow != wholeRow) {
                ++differences;
                qWarning().noquote() << "whole file:" << wholeRow << "\none day:   " << oneDayRow;
            }
        };
        for (auto it = days.begin(); it != days.end(); ++it) {
            const QString day = it.key().left(10);
            const Run one = runReport({"--summary", "--from", day, "--to", day, file});
            QCOMPARE(one.status, 0);
            compare(it.value(), rowsOf(one.out, QStringLiteral("day")).value(it.key()));
            // The parts starting on the day, a night into the next morning included.
            QMap<QString, QString> dayParts;
            for (auto p = parts.begin(); p != parts.end(); ++p)
                if (p.key().startsWith(day))
                    dayParts.insert(p.key(), p.value());
            const QMap<QString, QString> oneDayParts = rowsOf(one.out, QStringLiteral("part"));
            QCOMPARE(oneDayParts.keys(), dayParts.keys());
            for (auto p = dayParts.begin(); p != dayParts.end(); ++p)
                compare(p.value(), oneDayParts.value(p.key()));
        }
        qInfo("%s: %d days compared, %d differences", qPrintable(QFileInfo(file).fileName()),
              int(days.size()), differences);
        QCOMPARE(differences, 0);
    }

    // A file name that is no UTF-8 still opens, and its rows name it as the
    // file system's encoding reads it.
    void nameThatIsNoUtf8()
    {
        QTemporaryDir dir;
        const QByteArray local = QFile::encodeName(dir.path()) + "/site\xff.kvl";
        const QString copy = dir.filePath(QStringLiteral("copy.kvl"));
        QVERIFY(QFile::copy(sample("sample_v5.kvl"), copy));
        QCOMPARE(::rename(QFile::encodeName(copy).constData(), local.constData()), 0);
        QProcess p;
        // Through the shell: QProcess would turn the byte into U+FFFD.
        p.start(QStringLiteral("/bin/sh"),
                {"-c", "exec \"$0\" --params \"$1\"/site$(printf '\\377').kvl", reportProgram(), dir.path()});
        const Run r = finished(p);
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(QFile::decodeName(local).toUtf8() + ",current,"));
        ::unlink(local.constData()); // QTemporaryDir cannot name it
    }

    // Each file's rows are written when it is done, so memory does not grow
    // with the number of files; the rows keep the order given.
    void manyFilesInBoundedMemory_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("format");
        QTest::newRow("leq csv") << "--leq"
                                 << "csv";
        QTest::newRow("summary json") << "--summary"
                                      << "json";
    }
    void manyFilesInBoundedMemory()
    {
        QFETCH(QString, mode);
        QFETCH(QString, format);
        QTemporaryDir dir;
        QStringList files;
        for (int i = 0; i < 200; ++i) {
            files << dir.filePath(QString::asprintf("f%03d.kvl", 199 - i));
            QVERIFY(QFile::link(sample("sample_v5.kvl"), files.last()));
        }
        // Shadow memory makes the peak meaningless under the sanitizers.
        if (!qEnvironmentVariableIsSet("KVL_SANITIZED")) {
            const long kib = peakKiB(QStringList{mode, "--format", format, "--threads", "2"} + files);
            qInfo("%s --format %s over 200 files: peak %ld KiB", qPrintable(mode), qPrintable(format), kib);
            QVERIFY(kib > 0);
            QVERIFY2(kib * 1024 <= 64 * 1000 * 1000, qPrintable(QString::number(kib)));
        }

        const Run r = runReport(QStringList{"--params", "--threads", "3"} + files);
        QCOMPARE(r.status, 0);
        QStringList order;
        static const QRegularExpression current(QStringLiteral("(?:^|\r\n)([^,\r\n]*),current,"));
        for (auto it = current.globalMatch(QString::fromUtf8(r.out)); it.hasNext();)
            order << it.next().captured(1);
        QCOMPARE(order, files);
    }

    void helpExplainsEveryOption()
    {
        const Run r = runReport({QStringLiteral("--help")});
        QCOMPARE(r.status, 0);
        for (const char *text : {"--from", "--to", "--leq", "--events", "--params", "--summary", "--format",
                                 "--threads", "nearest rank", "Exit status"})
            QVERIFY2(r.out.contains(text), text);
    }
};

QTEST_GUILESS_MAIN(ReportTest)
#include "tst_report.moc"
