// kvl-report with a device archive: importing from the command line, and
// reports from the archive read in stretches that give the same rows as one
// file holding every record.

#include "Programs.h"
#include "SampleFile.h"
#include "TestCore.h"
#include "files/DataFile.h"
#include "store/Names.h"
#include "store/Store.h"

#include <QtTest>

using kvl::test::ProgramRun;
using kvl::test::runReport;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class ArchiveReportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Six weeks of one device downloaded every week: the last download
        // still holds everything, the archive holds the same records.
        for (const kvlsim::HistoryFile &f : kvlsim::historyDataFiles(5, 91, 6, 1)) {
            QFile out(m_dir.filePath(f.name));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(f.bytes);
            m_files << out.fileName();
        }
        m_archive = m_dir.filePath(QStringLiteral("venue.sqlite"));
        // The last one again under the name the archive's device has in a
        // report, so that both reports compare whole.
        auto store = std::make_unique<kvl::Store>();
        QCOMPARE(kvl::readDataFile(fileBytes(m_files.last()), *store).result, kvl::LoadOutcome::Loaded);
        m_asDevice = QStringLiteral("venue.sqlite#") + kvl::serialNumberOf(*store);
        QVERIFY(QFile::copy(m_files.last(), m_dir.filePath(m_asDevice)));
        // kvl-report reads a file given by its name alone in the folder it runs in.
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void importInto()
    {
        const QString bad = m_dir.filePath(QStringLiteral("bad.kvl"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a data file");
        f.close();
        const ProgramRun r = runReport(QStringList{QStringLiteral("--import-into"), m_archive} +
                                       m_files.mid(0, 3) + QStringList{bad} + m_files.mid(3));
        // One failed: status 1, the others still imported.
        QCOMPARE(r.status, 1);
        QVERIFY2(r.errors.contains(QStringLiteral(
                     "bad.kvl: It is impossible to open this file: It is not a KVL 24-2/36 file !!!!")),
                 qPrintable(r.errors));
        QCOMPARE(r.out.count("new records"), m_files.size());
        const ProgramRun again = runReport(QStringList{QStringLiteral("--import-into"), m_archive} + m_files);
        QCOMPARE(again.status, 0);
        QCOMPARE(again.out.count("already in the archive"), m_files.size());
    }

    void sameRowsAsOneFile_data() { kvl::test::addDataRows(QStringLiteral("archive/report.txt"), "same"); }

    // The same rows and the same warnings (the threshold schedule's gaps,
    // empty periods) as the file named alike.
    void sameRowsAsOneFile()
    {
        QFETCH(QStringList, c);
        const QStringList options = c[1].split(QLatin1Char(' '));
        const ProgramRun file = runReport(options + QStringList{m_asDevice});
        const ProgramRun archive = runReport(options + QStringList{QStringLiteral("--archive"), m_archive});
        QCOMPARE(file.status, 0);
        QCOMPARE(archive.status, 0);
        QCOMPARE(archive.out, file.out);
        QCOMPARE(archive.errors, file.errors);
    }

    void exitStatus_data() { kvl::test::addDataRows(QStringLiteral("archive/report.txt"), "exit"); }

    void exitStatus()
    {
        QFETCH(QStringList, c);
        QStringList args;
        for (QString arg : c[1].split(QLatin1Char(' ')))
            args << arg.replace(QStringLiteral("{dir}"), m_dir.path())
                        .replace(QStringLiteral("{file}"), m_files.first())
                        .replace(QStringLiteral("{last}"), m_files.last());
        const QByteArray before = fileBytes(m_files.first());
        const ProgramRun r = runReport(args);
        QCOMPARE(r.status, c[2].toInt());
        QVERIFY2(r.errors.contains(c[3]), qPrintable(r.errors));
        if (r.status == 2)
            QVERIFY(r.out.isEmpty());
        // A data file given as the archive is left as it was; a missing archive is not made.
        QCOMPARE(fileBytes(m_files.first()), before);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("none.sqlite"))));
    }

private:
    QTemporaryDir m_dir;
    QStringList m_files;
    QString m_archive;
    QString m_asDevice;
};

QTEST_GUILESS_MAIN(ArchiveReportTest)
#include "tst_archive_report.moc"
