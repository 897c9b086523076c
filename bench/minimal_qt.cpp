// A minimal Qt Widgets program, the yardstick of the start-up benchmark: it shows one
// window and, with --quit-when-shown, prints "shown" and leaves once the window is exposed.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel l(QStringLiteral("minimal"));
    l.resize(400, 300);
    l.show();
    if (app.arguments().contains(QStringLiteral("--quit-when-shown")))
        QTimer::singleShot(0, [&] {
            std::printf("shown\n");
            std::fflush(stdout);
            app.quit();
        });
    return app.exec();
}
