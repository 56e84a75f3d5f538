// Plausibility of a received memory image: each bound of the date that makes a
// record's level checked, of the level itself, of the serial number digits and
// of the firmware digits.

#include "TestCore.h"
#include "link/ImageCheck.h"
#include "store/Layout.h"

#include <QtTest>

using namespace kvl;

class TestImageCheck : public QObject
{
    Q_OBJECT
private slots:
    void bounds_data() { test::addDataRows(QStringLiteral("link/rows.txt"), QStringLiteral("image check")); }

    void bounds()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt();
        const VersionLayout layout = versionLayout(version);
        // Empty records, firmware digits 5.2, serial number 12121212...
        QByteArray image(layout.imageSize, char(0xFF));
        QByteArray answer(ParamAnswerSize, char(0xFF));
        if (layout.paramArea) {
            image[layout.paramArea + block::FirmwareMajor] = char(172);
            image[layout.paramArea + block::FirmwareMinor] = char(76);
            image.replace(layout.paramArea + block::SerialFirst, 8, QByteArray(8, 0x12));
        }
        answer.replace(block::SerialFirst - block::RawCopyFirst, 8, QByteArray(8, 0x12));

        const QStringList where = c[2].split(QLatin1Char(' '));
        QByteArray bytes;
        for (const QString &b : c[3].split(QLatin1Char(' ')))
            bytes.append(char(b.toInt(nullptr, 16)));
        if (where[0] == QLatin1String("record"))
            image.replace(0, bytes.size(), bytes);
        else if (where[0] == QLatin1String("param"))
            image.replace(layout.paramArea + where[1].toInt(), bytes.size(), bytes);
        else
            answer.replace(where[1].toInt() - block::RawCopyFirst, bytes.size(), bytes);

        const ImageFault fault =
            where[0] == QLatin1String("answer") ? checkParameterAnswer(answer) : checkImage(image, version);
        const QStringList names = {"none", "firmware", "serial", "level"};
        QCOMPARE(names.value(int(fault)), c[4]);
    }
};

QTEST_APPLESS_MAIN(TestImageCheck)
#include "tst_imagecheck.moc"
