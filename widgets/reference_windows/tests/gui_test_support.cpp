#include "widgets/reference_windows/tests/gui_test_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

namespace varelo::testing_support {

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "reference_windows_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

QStringList memoLines(const QPlainTextEdit& memo) {
    QStringList lines;
    for (QTextBlock b = memo.document()->firstBlock(); b.isValid(); b = b.next()) lines << b.text();
    return lines;
}

int execWith(QDialog& dialog, std::function<void()> whileOpen) {
    QTimer::singleShot(0, &dialog, std::move(whileOpen));
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] { dialog.done(kNotClosed); });
    guard.start(5000);
    return dialog.exec();
}

void pressKey(QDialog& dialog, int key) {
    QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

}  // namespace varelo::testing_support
