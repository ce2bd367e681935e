#include "app/system_regional_settings.h"

#include "util/cp1252.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace varelo {
namespace {

std::string toCp1252(const QString& text) {
    return utf8ToCp1252(text.toStdString());
}

}  // namespace

QString TimeFormatWithoutZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        out += c;
    }
    return out.simplified();
}

std::string SystemRegionalSettings::ShortDateText() const {
    const QLocale locale = QLocale::system();
    return toCp1252(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
}

std::string SystemRegionalSettings::LongTimeText() const {
    const QLocale locale = QLocale::system();
    return toCp1252(
        locale.toString(QTime::currentTime(), TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat))));
}

std::string SystemRegionalSettings::DecimalSeparator() const {
    return toCp1252(QLocale::system().decimalPoint());
}

}  // namespace varelo
