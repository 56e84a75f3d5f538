// Writes the transfer fuzzer's seeds into a folder: for each firmware, a tape
// carrying a whole simulated memory image (and the 3.5 parameter answer) that
// the transfer loads. Exit status 1 when a tape cannot be made or written.

#include "Generator.h"
#include "TransferTape.h"
#include "files/FileWrite.h"

#include <QDir>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "fuzz_seeds: cannot make %s\n", argv[1]);
        return 1;
    }
    for (int version : {kvl::Version35, kvl::Version40, kvl::Version5X, kvl::VersionKvl36}) {
        const kvlsim::DeviceMemory mem = kvlsim::generateDevice(version, quint32(version), 6);
        const QByteArray tape = kvl::tape::wholeImageTape(version, mem.image, mem.paramAnswer);
        const QString path = QDir(folder).filePath(QStringLiteral("whole-image-v%1").arg(version));
        if (tape.isEmpty()) {
            std::fprintf(stderr, "fuzz_seeds: no tape loads an image of version %d\n", version);
            return 1;
        }
        const kvl::FileWrite written = kvl::writeFileAtomically(path, tape);
        if (!written.ok()) {
            std::fprintf(stderr, "fuzz_seeds: %s\n", qPrintable(kvl::writeFailureText(path, written)));
            return 1;
        }
        std::printf("%s (%lld bytes)\n", qPrintable(path), static_cast<long long>(tape.size()));
    }
    return 0;
}
