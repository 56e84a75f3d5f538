// kvl-sim: a limiter of any version on a pseudo-terminal. It prints the path
// of its end of the line, then answers command 0x01 with the memory image
// and (firmware 3.5) 0x03 with the parameter answer, paced at the line speed
// or as fast as possible, with faults on request.
//
// Like a device on a serial cable, once it has started an answer it sends it
// to the end at the line's pace whether anyone listens or not: bytes sent
// while the program has the port closed are lost, not kept for later, and a
// command that arrives while it is still sending is ignored (the device does
// not read its line while it dumps its memory).

#include "Generator.h"
#include "SampleFile.h"
#include "files/FileWrite.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

struct Options
{
    int version = 5;
    quint32 seed = 1;
    int weeks = 4;
    bool fast = false;
    int baud = 0;          // 0: the data speed of the version
    int answerOn = 1;      // the n-th 0x01 is answered; 0 = never
    int paramAnswerOn = 1; // the same for 0x03
    int stopAfter = -1;    // bytes of the image sent before falling silent
    int extra = 0;         // bytes sent after the image
    int paramSize = kvlsim::ParamAnswerSize35;
    int hangUpAfter = -1; // bytes of the image sent before hanging up
    int latencyMs = 20;
    QString link; // a symbolic link to our end, for a stable path
};

void log(const QString &text)
{
    std::fprintf(stderr, "kvl-sim: %s\n", qPrintable(text));
}

class Simulator
{
public:
    explicit Simulator(const Options &o) : m_o(o)
    {
        const kvlsim::DeviceMemory mem = kvlsim::generateDevice(o.version, o.seed, o.weeks);
        m_image = mem.image;
        m_param = mem.paramAnswer.leftJustified(o.paramSize, char(0x00), true);
        if (m_o.baud <= 0)
            m_o.baud = o.version == 3 ? 19200 : 56000;
    }

    // Opens the pseudo-terminal; its path, or an empty text on failure.
    QString openLine()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            return QString();
        const char *name = ptsname(m_master);
        if (!name)
            return QString();
        const QString path = QString::fromLocal8Bit(name);
        // Raw from the start; the far end is then left to the program, so
        // that while it is closed nothing we send is kept for later.
        const int slave = ::open(name, O_RDWR | O_NOCTTY);
        if (slave < 0)
            return QString();
        termios t{};
        if (tcgetattr(slave, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(slave, TCSANOW, &t);
        }
        ::close(slave);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        return path;
    }

    int run()
    {
        m_clock.start();
        while (!g_stop) {
            pollfd p{m_master, POLLIN, 0};
            const bool sending = isSending();
            if (sending)
                p.events |= POLLOUT;
            const int timeout = sending ? (m_o.fast ? 50 : 2) : 200;
            if (::poll(&p, 1, timeout) < 0)
                continue;
            // The far end closed: nobody listens until the program opens it again.
            m_listening = !(p.revents & POLLHUP);
            if (!m_listening)
                ::usleep(sending ? 2000 : 20000);
            if (p.revents & POLLIN)
                readCommands();
            if (sending && (!m_listening || (p.revents & POLLOUT) || !m_o.fast))
                if (!send())
                    return 0;
        }
        hangUp();
        return 0;
    }

private:
    void readCommands()
    {
        char buf[256];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        for (ssize_t i = 0; i < n; ++i)
            command(quint8(buf[i]));
    }

    bool isSending() const { return !m_stream.isEmpty() && m_sent < m_streamEnd; }

    void command(quint8 byte)
    {
        if (isSending()) {
            log(QStringLiteral("command 0x%1 ignored: still sending (%2 of %3 bytes)")
                    .arg(byte, 2, 16, QLatin1Char('0'))
                    .arg(m_sent)
                    .arg(m_streamEnd));
            return;
        }
        if (byte == 0x01) {
            ++m_imageCommands;
            const bool answer = m_o.answerOn > 0 && m_imageCommands >= m_o.answerOn;
            log(QStringLiteral("command 0x01, attempt %1%2")
                    .arg(m_imageCommands)
                    .arg(answer ? "" : ": no answer"));
            if (answer) {
                QByteArray payload = m_image;
                payload.append(QByteArray(std::max(m_o.extra, 0), char(0x5A)));
                const int end = m_o.stopAfter >= 0 ? std::min<int>(m_o.stopAfter, int(payload.size()))
                                                   : int(payload.size());
                startStream(payload, end, true);
            }
        } else if (byte == 0x03) {
            ++m_paramCommands;
            const bool answer =
                m_o.paramAnswerOn > 0 && m_paramCommands >= m_o.paramAnswerOn && m_o.version == 3;
            log(QStringLiteral("command 0x03, attempt %1%2")
                    .arg(m_paramCommands)
                    .arg(answer ? "" : ": no answer"));
            if (answer)
                startStream(m_param, int(m_param.size()), false);
        } else {
            log(QStringLiteral("unknown command 0x%1 ignored").arg(byte, 2, 16, QLatin1Char('0')));
        }
    }

    void startStream(const QByteArray &payload, int end, bool image)
    {
        m_stream = payload;
        m_streamEnd = end;
        m_sent = 0;
        m_lost = 0;
        m_streamIsImage = image;
        m_streamStart = m_clock.elapsed() + m_o.latencyMs;
        log(QStringLiteral("sending %1 bytes").arg(end));
    }

    // Sends what is due by now; false once the line has been hung up.
    bool send()
    {
        const qint64 elapsed = m_clock.elapsed() - m_streamStart;
        if (elapsed < 0)
            return true;
        // Ten bits a byte on the wire.
        qint64 due = m_o.fast ? m_streamEnd : elapsed * m_o.baud / 10000;
        due = std::min<qint64>(due, m_streamEnd);
        if (m_streamIsImage && m_o.hangUpAfter >= 0)
            due = std::min<qint64>(due, m_o.hangUpAfter);
        while (m_sent < due) {
            const qint64 n = m_listening ? ::write(m_master, m_stream.constData() + m_sent,
                                                   size_t(std::min<qint64>(due - m_sent, 4096)))
                                         : -1;
            if (n > 0) {
                m_sent += int(n);
                continue;
            }
            // At the line's pace the device does not wait: what nobody takes
            // now is lost. As fast as possible means as fast as it is taken.
            if (m_o.fast && m_listening)
                break;
            m_lost += int(due - m_sent);
            m_sent = int(due);
        }
        if (m_streamIsImage && m_o.hangUpAfter >= 0 && m_sent >= m_o.hangUpAfter) {
            log(QStringLiteral("hanging up after %1 bytes").arg(m_sent));
            hangUp();
            return false;
        }
        if (m_sent >= m_streamEnd) {
            log(QStringLiteral("sent %1 bytes in %2 ms, %3 of them lost (nobody listening)")
                    .arg(m_sent)
                    .arg(m_clock.elapsed() - m_streamStart)
                    .arg(m_lost));
            m_stream.clear();
        }
        return true;
    }

    void hangUp()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    Options m_o;
    QByteArray m_image, m_param, m_stream;
    int m_master = -1;
    bool m_listening = false;
    int m_lost = 0;
    int m_imageCommands = 0, m_paramCommands = 0;
    int m_sent = 0, m_streamEnd = 0;
    bool m_streamIsImage = false;
    qint64 m_streamStart = 0;
    QElapsedTimer m_clock;
};

int intOption(const QCommandLineParser &p, const char *name, int fallback)
{
    bool ok = false;
    const int v = p.value(QLatin1String(name)).toInt(&ok);
    return p.isSet(QLatin1String(name)) && ok ? v : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvl-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A KVL 24-2 / KVL 36 limiter on a pseudo-terminal. Prints the path of the line on the "
                       "first line of its "
                       "output and serves the device's memory until stopped (Ctrl+C).\n"
                       "Like a device, an answer once started goes out to its end at the line's pace: "
                       "bytes sent while the port is closed are lost, and a command that arrives while it is "
                       "still sending is ignored.\n"
                       "Try it: kvl-sim --version 5 &  then  KVL_SERIAL_PORTS=<printed path> kvl-analysis  "
                       "and choose COM 1."));
    parser.addHelpOption();
    const QList<QCommandLineOption> options = {
        {"version", "Device: 3 (firmware 3.5), 4 (4.0), 5 (5.X) or 70 (KVL 36). Default 5.", "n", "5"},
        {"seed", "Seed of the generated memory; the same seed gives the same data. Default 1.", "n", "1"},
        {"weeks", "Weeks of records. Default 4.", "n", "4"},
        {"fast", "Send as fast as the line takes it instead of at the line speed."},
        {"baud", "Line speed for pacing (default 19200 for 3.5, else 56000).", "n"},
        {"no-answer", "Never answer command 0x01."},
        {"answer-on", "Answer command 0x01 only from its n-th attempt on.", "n"},
        {"no-param-answer", "Never answer command 0x03 (firmware 3.5)."},
        {"param-answer-on", "Answer command 0x03 only from its n-th attempt on.", "n"},
        {"stop-after", "Fall silent after n bytes of the image.", "n"},
        {"extra", "Send n bytes more than the image.", "n"},
        {"param-size", "Bytes of the parameter answer (514; 513 shows a short answer).", "n"},
        {"hangup-after", "Hang up the line after n bytes of the image and exit.", "n"},
        {"link", "Also make a symbolic link at this path to the line.", "path"},
        {"exit-with-parent", "Stop when the program that started kvl-sim ends (tests)."},
        {"write", "Write the generated memory, decoded and sorted, as the program's data file and exit.",
         "file"},
    };
    parser.addOptions(options);
    parser.process(app);

    Options o;
    o.version = intOption(parser, "version", 5);
    if (kvlsim::memorySize(o.version) == 0) {
        std::fprintf(stderr, "kvl-sim: unknown version %d (3, 4, 5 or 70)\n", o.version);
        return 2;
    }
    o.seed = quint32(intOption(parser, "seed", 1));
    o.weeks = std::max(1, intOption(parser, "weeks", 4));
    o.fast = parser.isSet(QStringLiteral("fast"));
    o.baud = intOption(parser, "baud", 0);
    o.answerOn = parser.isSet(QStringLiteral("no-answer")) ? 0 : intOption(parser, "answer-on", 1);
    o.paramAnswerOn =
        parser.isSet(QStringLiteral("no-param-answer")) ? 0 : intOption(parser, "param-answer-on", 1);
    o.stopAfter = intOption(parser, "stop-after", -1);
    o.extra = intOption(parser, "extra", 0);
    o.paramSize = std::max(0, intOption(parser, "param-size", kvlsim::ParamAnswerSize35));
    o.hangUpAfter = intOption(parser, "hangup-after", -1);
    o.link = parser.value(QStringLiteral("link"));

    if (parser.isSet(QStringLiteral("write"))) {
        const QByteArray file = kvlsim::sampleDataFile(o.version, o.seed, o.weeks);
        const QString path = parser.value(QStringLiteral("write"));
        if (file.isEmpty()) {
            std::fprintf(stderr, "kvl-sim: no data file for version %d\n", o.version);
            return 1;
        }
        const kvl::FileWrite written = kvl::writeFileAtomically(path, file);
        if (!written.ok()) {
            std::fprintf(stderr, "kvl-sim: %s\n", qPrintable(kvl::writeFailureText(path, written)));
            return 1;
        }
        return 0;
    }

#ifdef __linux__
    // A test that dies leaves no simulator behind.
    if (parser.isSet(QStringLiteral("exit-with-parent")))
        prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGHUP, onSignal);

    Simulator sim(o);
    const QString path = sim.openLine();
    if (path.isEmpty()) {
        std::perror("kvl-sim: pseudo-terminal");
        return 1;
    }
    if (!o.link.isEmpty()) {
        QFile::remove(o.link);
        if (!QFile::link(path, o.link))
            log(QStringLiteral("could not make the link %1").arg(o.link));
    }
    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
    const int rc = sim.run();
    if (!o.link.isEmpty())
        QFile::remove(o.link);
    return rc;
}
