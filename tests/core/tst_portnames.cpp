// "COM n" on Windows, macOS and Linux, from what each system lists.

#include "TestCore.h"
#include "link/PortNames.h"

#include <QtTest>

using namespace kvl;

class TestPortNames : public QObject
{
    Q_OBJECT
private slots:
    void comPort_data() { test::addDataRows(QStringLiteral("link/portnames.txt")); }
    void comPort()
    {
        QFETCH(QStringList, c);
        const PortSystem system = c[1] == QLatin1String("windows") ? PortSystem::Windows
                                  : c[1] == QLatin1String("macos") ? PortSystem::MacOS
                                                                   : PortSystem::Linux;
        QList<SystemPort> ports;
        for (const QString &p : test::items(c.value(4))) {
            const QStringList f = p.split(QLatin1Char(' '));
            ports.append(SystemPort{f[0], f[1], f[2] == QLatin1String("1")});
        }
        QCOMPARE(comPortDevice(system, c[2].toInt(), c.value(3), ports), c.value(5));
    }
};

QTEST_GUILESS_MAIN(TestPortNames)
#include "tst_portnames.moc"
