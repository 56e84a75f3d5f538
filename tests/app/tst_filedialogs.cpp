// File dialogs: the name written takes the filter's extension when it has
// none of its own, never two; every dialog starts in the folder last used for
// its kind of file, kept across runs, else the documents or pictures folder.

#include "TestCore.h"
#include "files/FileNames.h"
#include "shell/Folders.h"

#include <QtTest>

using namespace kvl;

namespace {

const QString images =
    QStringLiteral("PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf");

// The filters of the rows of files/filenames.txt.
QString filter(const QString &name)
{
    const QHash<QString, QString> filters{
        {"images", images}, {"csv", "CSV (*.csv)|*.csv"}, {"kvl", "KVL 24-2 (*.kvl)|*.kvl"}};
    return filters.value(name);
}

} // namespace

class TestFileDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void extensionFromTheFilter_data() { test::addDataRows(QStringLiteral("files/filenames.txt")); }
    void extensionFromTheFilter()
    {
        QFETCH(QStringList, c);
        QCOMPARE(withFilterExtension(c.value(1), filter(c.value(2)), c.value(3).toInt()), c.value(4));
    }

    void lastFolderOfEachKind()
    {
        QTemporaryDir data, pictures;
        rememberFolder(QStringLiteral("kvl"), data.filePath(QStringLiteral("week.kvl")));
        rememberFolder(QStringLiteral("png"), pictures.filePath(QStringLiteral("d.png")));
        QCOMPARE(startFolder(QStringLiteral("kvl")), data.path());
        QCOMPARE(startFolder(QStringLiteral("png")), pictures.path());
        // A kind never used starts in the documents folder, never the program's.
        const QString csv = startFolder(QStringLiteral("csv"));
        QVERIFY(csv != QCoreApplication::applicationDirPath());
        QVERIFY(QFileInfo(csv).isDir());
    }
};

QTEST_GUILESS_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
