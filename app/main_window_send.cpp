#include "app/main_window.h"

#include "app/monitor/station_count.h"
#include "app/monitor/telegram_headers.h"
#include "app/terminal_monitor_view.h"
#include "app/text_file_content.h"
#include "util/text_helpers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>

namespace varelo {

void TFmEscuchar::FechayHora1Click() {
    StartTelegram("Fecha - Hora", 1);
}

void TFmEscuchar::TLGTipo1Click() {
    StartTelegram("Código 11 Char", 2);
}

void TFmEscuchar::TLGTipo2Click() {
    StartTelegram("Date,Time,Weight", 3);
}

void TFmEscuchar::TlgTest1Click() {
    StartTelegram("Char ASCII", 4);
}

// The stations of the RQZ family answer at 9600 bits/s, 8 data bits, odd parity; the
// port keeps these settings afterwards. An answer that is no number ends the command
// before anything starts, with the station count and station as they were.
void TFmEscuchar::Polling1Click() {
    ReopenSelectedPort(db8BITS, ptODD, sb1BITS, br9600);
    EditTlg->setText("Polling RQZ");
    State.TlgType = 5;
    State.StationCount = StationCountFromAnswer(boxes_.inputBox("Polling", "Number of Stations", "6"));
    State.Station = 0;
    StartTelegram("Polling RQZ", 5);
}

// Sends a whole text file once, at once, on the chosen port, then shows what was
// sent, raw, behind the sent header. The scheduler is left as it is.
void TFmEscuchar::FicheroTexto1Click() {
    boxes_.showMessage("The port flow control must be XON/XOFF on RTS/CTS.");
    OpenDialog1.Execute(boxes_);
    const std::string name = TrimSpaces(OpenDialog1.FileName);
    EditFichero->setText(QString::fromStdString(name));
    if (name.empty()) {
        boxes_.showMessage("I need the file name to transmit.  Thank you.");
        return;
    }
    EditTlg->setText("Text file");
    std::optional<std::string> content = ReadTextFileContent(name);
    if (!content) {
        boxes_.showMessage("Unable to read the file");
        return;
    }
    // Events run during the send's echo, and a scheduler tick may replace the shared
    // telegram meanwhile: the echo shows the bytes that were sent.
    const std::string sent = std::move(*content);
    shared_.TlgToSend = sent;
    const char port = selectedPort();
    selectedDriver().SendString(sent);
    QCoreApplication::processEvents();
    echoTextFile(port, sent);
}

// The echo of a large file keeps the window alive: received blocks, ticks and menu
// commands run between slices of the text, at least every few milliseconds. The
// view shows the same as if it had been written byte by byte.
void TFmEscuchar::echoTextFile(char port, const std::string& sent) {
    constexpr std::size_t SliceBytes = 4096;
    constexpr std::size_t MostBytesBetweenEvents = 256 * 1024;
    constexpr qint64 MostMillisecondsBetweenEvents = 10;

    monitorView_->WriteString(ViewHeader(port, Direction::Sent));
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    std::size_t bytesSinceEvents = 0;
    for (std::size_t at = 0; at < sent.size();) {
        const std::size_t count = std::min(SliceBytes, sent.size() - at);
        monitorView_->WriteString(std::string_view(sent).substr(at, count));
        at += count;
        bytesSinceEvents += count;
        if (bytesSinceEvents >= MostBytesBetweenEvents ||
            sinceEvents.elapsed() >= MostMillisecondsBetweenEvents) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
            bytesSinceEvents = 0;
        }
    }
    QCoreApplication::processEvents();
}

}  // namespace varelo
