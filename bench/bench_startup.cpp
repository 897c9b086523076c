// Start-up benchmark: time from process start to the main window shown, and peak resident
// memory, of sms_switch_vantor against a minimal Qt Widgets program, in the same run.
// usage: bench_startup [RUNS]   (run from the build tree; uses QT_QPA_PLATFORM as set, default offscreen)
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
    double shownMs = -1;
    ssize_t n;
    while ((n = read(pipefd[0], buf, sizeof buf)) > 0) {
        out.append(buf, static_cast<size_t>(n));
        if (shownMs < 0 && out.find("shown") != std::string::npos)
            shownMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    }
    close(pipefd[0]);
    int status = 0;
    struct rusage ru {};
    wait4(pid, &status, 0, &ru);
    if (shownMs < 0) {
        std::fprintf(stderr, "bench_startup: %s did not report its window (exit %d)\n", exe.c_str(), status);
        std::exit(1);
    }
    return Sample {shownMs, ru.ru_maxrss};
}

Sample median(std::vector<Sample> v)
{
    std::sort(v.begin(), v.end(), [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
    Sample m = v[v.size() / 2];
    std::vector<long> r;
    for (const auto& s : v)
        r.push_back(s.rssKb);
    std::sort(r.begin(), r.end());
    m.rssKb = r[r.size() / 2];
    return m;
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
    const Sample ma = median(a), mb = median(b);
    std::printf("platform %s, %d runs, medians\n", qgetenv("QT_QPA_PLATFORM").constData(), runs);
    std::printf("minimal Qt program : %8.1f ms  %7ld KiB peak RSS\n", mb.ms, mb.rssKb);
    std::printf("sms_switch_vantor  : %8.1f ms  %7ld KiB peak RSS\n", ma.ms, ma.rssKb);
    std::printf("ratio start-up %.2fx (goal <= 2x), memory %.2fx (goal <= 1.5x)\n", ma.ms / mb.ms,
                static_cast<double>(ma.rssKb) / static_cast<double>(mb.rssKb));
    return 0;
}
