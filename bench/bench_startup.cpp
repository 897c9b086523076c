// Start-up benchmark: time from process start to the main window mapped ("shown") and to its
// first paint done ("painted"), and peak resident memory, of sms_switch_vantor against a
// minimal Qt Widgets program, the two taking turns in the same run.
// usage: bench_startup [RUNS]   (run from the build tree; uses QT_QPA_PLATFORM as set, default offscreen;
// under X: QT_QPA_PLATFORM=xcb xvfb-run -a build/bench/bench_startup 31)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
struct Sample {
    double ms;
    double paintedMs; // -1 when the program does not report its first paint
    long rssKb;
};

Sample runOnce(const std::string& exe, const std::vector<std::string>& args)
{
    int pipefd[2];
    if (pipe(pipefd) != 0)
        std::exit(1);
    QElapsedTimer t;
    t.start();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipefd[1], 1);
        close(pipefd[0]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(exe.c_str()));
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    close(pipefd[1]);
    std::string out;
    char buf[256];
    double shownMs = -1, paintedMs = -1;
    ssize_t n;
    while ((n = read(pipefd[0], buf, sizeof buf)) > 0) {
        out.append(buf, static_cast<size_t>(n));
        const double now = static_cast<double>(t.nsecsElapsed()) / 1e6;
        if (shownMs < 0 && out.find("shown") != std::string::npos)
            shownMs = now;
        if (paintedMs < 0 && out.find("painted") != std::string::npos)
            paintedMs = now;
    }
    close(pipefd[0]);
    int status = 0;
    struct rusage ru {};
    wait4(pid, &status, 0, &ru);
    if (shownMs < 0) {
        std::fprintf(stderr, "bench_startup: %s did not report its window (exit %d)\n", exe.c_str(), status);
        std::exit(1);
    }
    return Sample {shownMs, paintedMs, ru.ru_maxrss};
}

// Median and quartiles of one measure over the runs.
struct Spread {
    double q1, median, q3;
};

template <typename F> Spread spread(const std::vector<Sample>& v, F measure)
{
    std::vector<double> x;
    for (const auto& s : v)
        x.push_back(static_cast<double>(measure(s)));
    std::sort(x.begin(), x.end());
    return Spread {x[x.size() / 4], x[x.size() / 2], x[(x.size() * 3) / 4]};
}

void printRow(const char* name, const std::vector<Sample>& v)
{
    const Spread shown = spread(v, [](const Sample& s) { return s.ms; });
    const Spread painted = spread(v, [](const Sample& s) { return s.paintedMs; });
    const Spread rss = spread(v, [](const Sample& s) { return s.rssKb; });
    std::printf("%-18s: shown %6.1f ms (%5.1f-%5.1f)  painted %6.1f ms (%5.1f-%5.1f)  %7.0f KiB peak RSS\n", name,
                shown.median, shown.q1, shown.q3, painted.median, painted.q1, painted.q3, rss.median);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const QString benchDir = QCoreApplication::applicationDirPath();
    const std::string prog = QDir(benchDir).absoluteFilePath("../bin/sms_switch_vantor").toStdString();
    const std::string minimal = QDir(benchDir).absoluteFilePath("minimal_qt").toStdString();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("SMSV48_SETTINGS_DIR", settings.path().toLocal8Bit());
    // COM 1 stands for the simulated unit: a busy real port would stop the start at its message box.
    if (!qEnvironmentVariableIsSet("BENCH_REAL_PORTS")) {
        QFile ini(settings.filePath("SMS_Switch_Vantor.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Ports]\nCOM1=sim\n");
    }
    qputenv("SMSV48_QUIT_WHEN_SHOWN", "1");
    std::vector<Sample> a, b;
    for (int i = 0; i < runs; ++i) {
        b.push_back(runOnce(minimal, {"--quit-when-shown"}));
        a.push_back(runOnce(prog, {}));
    }
    std::printf("platform %s, %d runs, medians (quartiles)\n", qgetenv("QT_QPA_PLATFORM").constData(), runs);
    printRow("minimal Qt program", b);
    printRow("sms_switch_vantor", a);
    auto median = [](const std::vector<Sample>& v, auto measure) { return spread(v, measure).median; };
    const auto shown = [](const Sample& s) { return s.ms; };
    const auto painted = [](const Sample& s) { return s.paintedMs; };
    const auto rss = [](const Sample& s) { return s.rssKb; };
    std::printf("ratio shown %.2fx (goal <= 2x), painted %.2fx, memory %.2fx (goal <= 1.5x)\n",
                median(a, shown) / median(b, shown), median(a, painted) / median(b, painted),
                median(a, rss) / median(b, rss));
    return 0;
}
