// A minimal Qt Widgets program, the yardstick of the start-up benchmark: it shows one
// window and, with --quit-when-shown, prints "shown" once the window is mapped and "painted"
// once its first paint is done, then leaves.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <cstdio>

namespace {
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, qApp, [] {
                std::printf("painted\n");
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel l(QStringLiteral("minimal"));
    l.resize(400, 300);
    FirstPaint firstPaint;
    const bool report = app.arguments().contains(QStringLiteral("--quit-when-shown"));
    if (report)
        l.installEventFilter(&firstPaint);
    l.show();
    if (report)
        QTimer::singleShot(0, [] {
            std::printf("shown\n");
            std::fflush(stdout);
        });
    return app.exec();
}
