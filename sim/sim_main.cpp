// smsv48-sim: the simulated unit on a pseudo-terminal.
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::fprintf(stderr, "smsv48-sim: the simulated unit is not available in this build yet\n");
    return 1;
}
