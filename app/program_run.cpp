#include "app/program_run.h"

#include <QApplication>
#include <QWidget>

namespace varelo {

ProgramRun::ProgramRun()
    : signals_([this] {
          // exit() and not quit(): it cannot be refused, and it also ends the loops
          // of boxes open at that moment, whose handlers then run to their end before
          // the close sequence runs.
          endRequested_ = true;
          QCoreApplication::exit(0);
      }) {}

int ProgramRun::run(QWidget& mainWindow) {
    int status = 0;
    // A signal during start-up (the "Unable to open port" box open) ends it before
    // the loop runs: the loop would forget it.
    if (!endRequested_) {
        mainWindow.show();
        status = QApplication::exec();
    }
    if (endRequested_) mainWindow.close();
    return status;
}

}  // namespace varelo
