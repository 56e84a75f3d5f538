// kvl-report --pdf as a user runs it: the report of a week of the 5.X sample
// read back with the PDF tools, its figures against --summary, and the
// failures.

#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl::test;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QString errors;
};

Run run(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1796371200")); // 2026-12-04 08:00 UTC
    p.setProcessEnvironment(env);
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(120000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.errors = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return r;
}

Run report(const QStringList &args)
{
    return run(qEnvironmentVariable("KVL_BIN_DIR") + QStringLiteral("/kvl-report"), args);
}

QString sample()
{
    return qEnvironmentVariable("KVL_SAMPLES") + QStringLiteral("/sample_v5.kvl");
}

// Rows of a poppler tool's listing below its "----" line.
QStringList listing(const QByteArray &out)
{
    const QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(QLatin1String("----")))
            return lines.mid(i + 1);
    return {};
}

// The figure rows of a report's first page by day ("23/09/2026"), each as its figures.
QMap<QString, QStringList> dayRows(const QString &pdf)
{
    const Run text = run(QStringLiteral("pdftotext"), {"-layout", "-f", "1", "-l", "1", pdf, "-"});
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

class ReportPdfTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pdf = m_dir.filePath(QStringLiteral("week.pdf"));
        const Run r = report(QStringList{"--pdf", m_pdf} + Week + QStringList{sample()});
        QCOMPARE(r.status, 0);
    }

    // The whole text, page after page, as pdftotext lays it out.
    void text()
    {
        const Run r = run(QStringLiteral("pdftotext"), {"-layout", m_pdf, "-"});
        QCOMPARE(r.status, 0);
        KVL_COMPARE_FILE("report/sample_v5_week.txt", r.out);
    }

    // Eleven A4 pages; every font embedded; no image: the diagrams are lines.
    void vector()
    {
        const Run info = run(QStringLiteral("pdfinfo"), {m_pdf});
        QVERIFY(info.out.contains("Pages:           11\n"));
        QVERIFY(info.out.contains("595 x 842 pts (A4)"));
        const QStringList fonts = listing(run(QStringLiteral("pdffonts"), {m_pdf}).out);
        QVERIFY(!fonts.isEmpty());
        for (const QString &f : fonts)
            QCOMPARE(f.mid(f.indexOf(QRegularExpression(QStringLiteral("\\s(yes|no)\\s"))) + 1, 3),
                     QStringLiteral("yes"));
        QCOMPARE(listing(run(QStringLiteral("pdfimages"), {"-list", m_pdf}).out), QStringList());
    }

    // The figures per day are kvl-report --summary's for the same days.
    void figuresAgreeWithSummary()
    {
        const Run summary = report(QStringList{"--summary"} + Week.mid(2) + QStringList{sample()});
        QCOMPARE(summary.status, 0);
        QMap<QString, QStringList> days, dayParts, nights;
        for (const QString &line : QString::fromUtf8(summary.out).split(QStringLiteral("\r\n"))) {
            const QStringList f = line.split(QLatin1Char(','));
            if (f.size() < 14)
                continue;
            const QString date =
                QDate::fromString(f[2].left(10), Qt::ISODate).toString(QStringLiteral("dd/MM/yyyy"));
            if (f[1] == QLatin1String("day"))
                days[date] = f;
            else if (f[1] == QLatin1String("part"))
                (f[4] == QLatin1String("night") ? nights : dayParts)[date] = f;
        }
        QCOMPARE(days.size(), 6); // no level nor event on the 21st

        const QMap<QString, QStringList> rows = dayRows(m_pdf);
        int compared = 0;
        for (auto it = rows.begin(); it != rows.end(); ++it) {
            const QString &date = it.key();
            // A part running past the period is marked, its figure still --summary's.
            const QStringList pdf = QStringList(it.value()).replaceInStrings(QStringLiteral("*"), QString());
            QCOMPARE(pdf.size(), 11);
            const QStringList d = days.value(date);
            ++compared;
            if (d.isEmpty()) {
                QCOMPARE(pdf.mid(0, 7), QStringList(7, QStringLiteral("-")));
                continue;
            }
            auto dash = [](const QString &v) { return v.isEmpty() ? QStringLiteral("-") : v; };
            int events = 0;
            for (const QString &e : d[13].split(QStringLiteral("; "), Qt::SkipEmptyParts))
                events += e.section(QLatin1Char('='), -1).toInt();
            const QStringList expected{dash(d[6]),
                                       dash(dayParts.value(date).value(6)),
                                       dash(nights.value(date).value(6)),
                                       d[7],
                                       d[8],
                                       d[9],
                                       d[10],
                                       d[11],
                                       pdf[8], // runs: not a --summary figure
                                       d[12],
                                       QString::number(events)};
            QCOMPARE(pdf, expected);
        }
        QCOMPARE(compared, 7);
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
        QCOMPARE(report({"--pdf", pdf, "--from", day, "--to", day, sample()}).status, 0);
        const QMap<QString, QStringList> alone = dayRows(pdf);
        QCOMPARE(alone.size(), 1);
        const QStringList expected = week.value(alone.firstKey());
        QCOMPARE(expected.size(), 11);
        QCOMPARE(alone.first(), expected);
    }

    // A period without data still gives a report: one page that says so.
    void noData()
    {
        const QString pdf = m_dir.filePath(QStringLiteral("empty.pdf"));
        QCOMPARE(report({"--pdf", pdf, "--from", "2026-08-01", "--to", "2026-08-02", sample()}).status, 0);
        const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {"-layout", pdf, "-"}).out);
        QVERIFY(text.contains(QStringLiteral("No data")));
        QVERIFY(text.contains(QStringLiteral("Recorded data: 06/09/2026 to 18/10/2026")));
        QVERIFY(text.contains(QStringLiteral("page 1 of 1")));
    }

    void failures_data() { addDataRows(QStringLiteral("report/cases.txt"), QStringLiteral("pdfruns")); }
    void failures()
    {
        QFETCH(QStringList, c);
        QTemporaryDir dir;
        const QString data = qEnvironmentVariable("KVL_TEST_DATA");
        auto place = [&](QString a) {
            return a.replace(QStringLiteral("OUT"), dir.path())
                .replace(QStringLiteral("SAMPLE"), sample())
                .replace(QStringLiteral("DATA"), data);
        };
        QStringList args;
        for (const QString &a : items(c[1]))
            args << place(a);
        const Run r = report(args);
        QCOMPARE(r.status, c[2].toInt());
        const QString expected = place(c.value(3));
        if (expected.isEmpty())
            QCOMPARE(r.errors, QString());
        else
            QVERIFY2(r.errors.startsWith(expected), qPrintable(r.errors));
        // No file is left behind by a failed run.
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(left, c[2] == "0" ? QStringList{"r.pdf"} : QStringList());
    }

private:
    QTemporaryDir m_dir;
    QString m_pdf;
};

QTEST_GUILESS_MAIN(ReportPdfTest)
#include "tst_report_pdf.moc"
