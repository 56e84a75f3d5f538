// Names chosen in save dialogs: the filter's extension when the name has
// none of its own, never two.

#include "TestCore.h"
#include "files/FileNames.h"

#include <QtTest>

using namespace kvl;

class TestFileNames : public QObject
{
    Q_OBJECT
private slots:
    void extensionFromTheFilter_data() { test::addDataRows(QStringLiteral("files/filenames.txt")); }
    void extensionFromTheFilter()
    {
        QFETCH(QStringList, c);
        const QHash<QString, QString> filters{
            {"images", "PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf"},
            {"csv", "CSV (*.csv)|*.csv"},
            {"kvl", "KVL 24-2 (*.kvl)|*.kvl"}};
        QCOMPARE(withFilterExtension(c.value(1), filters.value(c.value(2)), c.value(3).toInt()), c.value(4));
    }

    void filters()
    {
        const QString images =
            QStringLiteral("PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf");
        QCOMPARE(filterExtensions(images), QStringList({"png", "svg", "pdf"}));
        QCOMPARE(qtNameFilters(images),
                 QStringList({"PNG image (*.png)", "SVG drawing (*.svg)", "PDF document (*.pdf)"}));
    }
};

QTEST_GUILESS_MAIN(TestFileNames)
#include "tst_filenames.moc"
