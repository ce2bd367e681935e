// The floor under Varelo's start-up on this machine and display: a bare Qt main
// window of the same size, timed by the same launcher (it reports its first
// paint the way Varelo does with VARELO_REPORT_STARTUP=1).
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

namespace {

class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, qApp, [] {
                std::fputs("bare window shown\n", stderr);
                QApplication::quit();
            });
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint report;
    app.installEventFilter(&report);
    QMainWindow window;
    window.resize(640, 480);
    window.show();
    return app.exec();
}
