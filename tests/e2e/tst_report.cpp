// kvl-report as a user runs it: bad files among good ones, bad options,
// empty periods, many files at once, and the PDF report of a week of the 5.X
// sample read back with the PDF tools, whose day figures do not depend on the
// period asked for.

#include "Programs.h"
#include "TestCore.h"

#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace kvl::test;

namespace {

QString sample(const char *name)
{
    return samplePath(QLatin1String(name));
}

// The first field of the rows of `scope` ("file", "current"), in order.
QStringList filesOf(const QByteArray &csv, const QString &scope)
{
    const QRegularExpression row(QStringLiteral("(?:^|\r\n)([^,\r\n]*),%1,").arg(scope));
    QStringList files;
    for (auto it = row.globalMatch(QString::fromUtf8(csv)); it.hasNext();)
        files << it.next().captured(1);
    return files;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The figure rows of a report's first page by day ("23/09/2026"), each as its figures.
QMap<QString, QStringList> dayRows(const QString &pdf)
{
    const ProgramRun text =
        runProgram(QStringLiteral("pdftotext"), {"-layout", "-f", "1", "-l", "1", pdf, "-"});
    static const QRegularExpression row(QStringLiteral("^(Mon|Tue|Wed|Thu|Fri|Sat|Sun) (\\S+)\\s+(.*)$"));
    QMap<QString, QStringList> rows;
    for (const QString &line : QString::fromUtf8(text.out).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = row.match(line);
        if (m.hasMatch())
            rows[m.captured(2)] = m.captured(3).split(QRegularExpression(QStringLiteral("\\s+")));
    }
    return rows;
}

const QStringList Week{"--paper", "a4", "--from", "2026-09-21", "--to", "2026-09-27"};

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("SOURCE_DATE_EPOCH", "1796371200"); // 2026-12-04 08:00 UTC, the date the report shows
        m_pdf = m_dir.filePath(QStringLiteral("week.pdf"));
        const ProgramRun r =
            runReport(QStringList{"--pdf", m_pdf} + Week + QStringList{sample("sample_v5.kvl")});
        QCOMPARE(r.status, 0);
    }

    // The whole text, page after page, as pdftotext lays it out.
    void text()
    {
        const ProgramRun r = runProgram(QStringLiteral("pdftotext"), {"-layout", m_pdf, "-"});
        QCOMPARE(r.status, 0);
        KVL_COMPARE_FILE("report/sample_v5_week.txt", r.out);
    }

    // A day's figures are the same whatever period the report covers, the
    // night it starts included when the period ends with it.
    void dayAloneAsInTheWeek_data()
    {
        QTest::addColumn<QString>("day");
        QTest::newRow("a day inside the week") << "2026-09-22";
        QTest::newRow("the week's last day") << "2026-09-27";
    }
    void dayAloneAsInTheWeek()
    {
        QFETCH(QString, day);
        const QMap<QString, QStringList> week = dayRows(m_pdf);
        const QString pdf = m_dir.filePath(day + QStringLiteral(".pdf"));
        QCOMPARE(runReport({"--pdf", pdf, "--from", day, "--to", day, sample("sample_v5.kvl")}).status, 0);
        const QMap<QString, QStringList> alone = dayRows(pdf);
        QCOMPARE(alone.size(), 1);
        QCOMPARE(alone.first().size(), 11);
        QCOMPARE(alone.first(), week.value(alone.firstKey()));
    }

    // Refused options and --pdf runs: the exit status, what standard error
    // says, and no file left behind by a failed run.
    void failures_data() { addDataRows(QStringLiteral("report/cases.txt"), QStringLiteral("failures")); }
    void failures()
    {
        QFETCH(QStringList, c);
        QTemporaryDir dir;
        const QString data = qEnvironmentVariable("KVL_TEST_DATA");
        auto place = [&](QString a) {
            return a.replace(QStringLiteral("OUT"), dir.path())
                .replace(QStringLiteral("SAMPLE"), sample("sample_v5.kvl"))
                .replace(QStringLiteral("DATA"), data);
        };
        QStringList args;
        for (const QString &a : items(c[1]))
            args << place(a);
        const ProgramRun r = runReport(args);
        QCOMPARE(r.status, c[2].toInt());
        const QString expected = place(c.value(3));
        QVERIFY2(expected.isEmpty() ? r.errors.isEmpty() : r.errors.startsWith(expected),
                 qPrintable(r.errors));
        QVERIFY(r.out.isEmpty());
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(left, c[2] == "0" ? QStringList{"r.pdf"} : QStringList());
    }

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
        QVERIFY(writeFile(huge, "KVL_24-2_Data_for_Version_5!!!\r\n 0"));
        QVERIFY(QFile::resize(huge, qint64(1) << 30)); // sparse: no disk used
        const QString text = dir.filePath(QStringLiteral("notes.kvl"));
        QVERIFY(writeFile(text, "Shopping list\r\n"));

        const QStringList good{sample("sample_v5.kvl"), sample("sample_v4.kvl")};
        const ProgramRun r = runReport({"--summary", "--format", format, good[0], truncated, missing, folder,
                                        fifo, "/dev/zero", huge, text, good[1]});
        QCOMPARE(r.status, 1);
        // Notes on the good files' threshold schedules may come first.
        const QStringList errors =
            r.errorLines().filter(QRegularExpression(QStringLiteral("^(?!.*: warning: )")));
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
        QStringList reported = filesOf(r.out, QStringLiteral("file"));
        for (const QJsonValue &v : QJsonDocument::fromJson(r.out).array())
            reported << v.toObject().value(QStringLiteral("file")).toString();
        QCOMPARE(reported, good);
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
        const ProgramRun r = runReport(args);
        QCOMPARE(r.status, c[2].toInt());
        QCOMPARE(QString::fromUtf8(r.out).replace(v5, QStringLiteral("$v5")), c[3]);
        QCOMPARE(r.errorLines().join('\n').replace(v5, QStringLiteral("$v5")), c[4]);
    }

    // Each file's rows are written when it is done, so memory does not grow
    // with the number of files; the rows keep the order given.
    void manyFilesInBoundedMemory()
    {
        QTemporaryDir dir;
        QStringList files;
        for (int i = 0; i < 200; ++i) {
            files << dir.filePath(QString::asprintf("f%03d.kvl", 199 - i));
            QVERIFY(QFile::link(sample("sample_v5.kvl"), files.last()));
        }
        // Shadow memory makes the peak meaningless under the sanitizers.
        if (!qEnvironmentVariableIsSet("KVL_SANITIZED")) {
            QProcess p;
            p.setStandardOutputFile(QProcess::nullDevice());
            p.setStandardErrorFile(QProcess::nullDevice());
            p.start(qEnvironmentVariable("KVL_BIN_DIR") + "/kvl-report",
                    QStringList{"--leq", "--threads", "2"} + files);
            QVERIFY(p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0);
            // The largest of the children waited for so far: the others are far smaller.
            struct rusage usage;
            QCOMPARE(getrusage(RUSAGE_CHILDREN, &usage), 0);
            QVERIFY2(usage.ru_maxrss * 1024 <= 64 * 1000 * 1000,
                     qPrintable(QString::number(usage.ru_maxrss)));
        }

        const ProgramRun r = runReport(QStringList{"--params", "--threads", "3"} + files);
        QCOMPARE(r.status, 0);
        QCOMPARE(filesOf(r.out, QStringLiteral("current")), files);
    }

private:
    QTemporaryDir m_dir;
    QString m_pdf;
};

QTEST_GUILESS_MAIN(ReportTest)
#include "tst_report.moc"
