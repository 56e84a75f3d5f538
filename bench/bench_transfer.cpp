// A whole firmware 5.X download from kvl-sim at line pace (56000 baud), over
// a plain POSIX serial line on its pseudo-terminal. Reports the time taken
// against the wire time (bytes x 10 / baud) plus the protocol's waits.

#include "Generator.h"
#include "link/SerialLine.h"
#include "link/Transfer.h"
#include "store/Store.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int Baud = 56000;

// The serial line on a file descriptor, reading everything that arrives.
class PosixLine : public kvl::SerialLine
{
public:
    explicit PosixLine(std::string path) : m_path(std::move(path)) {}
    ~PosixLine() override { close(); }
    void setPort(int number) override { m_port = number; }
    int port() const override { return m_port; }
    void setSettings(const QString &) override {}
    void setDtr(bool) override {}
    bool open() override
    {
        if (m_fd >= 0)
            return true;
        m_fd = ::open(m_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return false;
        termios t{};
        tcgetattr(m_fd, &t);
        cfmakeraw(&t);
        tcsetattr(m_fd, TCSANOW, &t);
        m_buffer.clear();
        return true;
    }
    void close() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_buffer.clear();
    }
    bool isOpen() const override { return m_fd >= 0; }
    int inBufferCount() override
    {
        drain();
        return int(m_buffer.size());
    }
    void clearInput() override
    {
        drain();
        m_buffer.clear();
    }
    QByteArray readAll() override
    {
        drain();
        QByteArray out;
        out.swap(m_buffer);
        return out;
    }
    bool writeByte(quint8 byte) override
    {
        const char c = char(byte);
        return m_fd >= 0 && ::write(m_fd, &c, 1) == 1;
    }
    bool lost() const override { return false; }

private:
    void drain()
    {
        char buf[65536];
        while (m_fd >= 0) {
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n <= 0)
                break;
            m_buffer.append(buf, int(n));
        }
    }
    std::string m_path;
    int m_fd = -1;
    int m_port = 0;
    QByteArray m_buffer;
};

// kvl-sim started beside this program; its pid and the line's path.
struct Sim
{
    pid_t pid = -1;
    std::string path;
    bool start(const std::vector<std::string> &args)
    {
        const char *dir = std::getenv("KVL_BIN_DIR");
        char self[4096] = {};
        std::string bin;
        if (dir) {
            bin = std::string(dir) + "/kvl-sim";
        } else if (readlink("/proc/self/exe", self, sizeof self - 1) > 0) {
            bin = std::string(self);
            bin = bin.substr(0, bin.rfind('/')) + "/kvl-sim";
        }
        int out[2];
        if (pipe(out) != 0)
            return false;
        pid = fork();
        if (pid == 0) {
            dup2(out[1], 1);
            ::close(out[0]);
            const int devnull = ::open("/dev/null", O_WRONLY);
            dup2(devnull, 2);
            std::vector<char *> argv{const_cast<char *>(bin.c_str())};
            for (const std::string &a : args)
                argv.push_back(const_cast<char *>(a.c_str()));
            argv.push_back(nullptr);
            execv(bin.c_str(), argv.data());
            _exit(127);
        }
        ::close(out[1]);
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n')
            path += c;
        ::close(out[0]);
        return !path.empty() && path[0] == '/';
    }
    ~Sim()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

void BM_Download5X_LinePace(benchmark::State &state)
{
    for (auto _ : state) {
        Sim sim;
        if (!sim.start({"--version", "5", "--seed", "3", "--weeks", "4"})) {
            state.SkipWithError("kvl-sim could not be started");
            return;
        }
        PosixLine line(sim.path);
        auto store = std::make_unique<kvl::Store>();
        store->Device_Version = 5;
        store->Com_Port = 1;
        int finalStageWaits = 0;
        qint16 lastError = -1;
        kvl::Transfer transfer(*store, line, {});
        QElapsedTimer clock;
        clock.start();
        transfer.start(0);
        qint64 receivedAt = 0;
        while (transfer.step(clock.elapsed())) {
            if (transfer.state() == kvl::Transfer::State::Receive ||
                transfer.state() == kvl::Transfer::State::ReceiveWait) {
                if (store->Transfer_Error > lastError && lastError >= -1)
                    finalStageWaits += store->Transfer_Error - lastError;
                lastError = store->Transfer_Error;
            }
            if (!receivedAt && transfer.received() >= kvl::ImageSize5)
                receivedAt = clock.elapsed();
            pollfd none{};
            ::poll(&none, 0, 2);
        }
        const qint64 total = clock.elapsed();
        if (!store->Data_Loaded) {
            state.SkipWithError("download failed");
            return;
        }
        const double wire = kvl::ImageSize5 * 10.0 / Baud * 1000.0;
        const double waits = kvl::Transfer::CompletedWaitMs + finalStageWaits * kvl::Transfer::FinalWaitMs;
        state.counters["total_ms"] = double(total);
        state.counters["received_ms"] = double(receivedAt);
        state.counters["wire_ms"] = wire;
        state.counters["waits_ms"] = waits;
        state.counters["budget_ms"] = (wire + waits) * 1.05;
        state.counters["over_budget"] = total > (wire + waits) * 1.05 ? 1 : 0;
        state.SetIterationTime(double(total) / 1000.0);
    }
}

} // namespace

BENCHMARK(BM_Download5X_LinePace)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
