#include "widgets/system_edit_locale.h"

#include <QLocale>

namespace varelo {

EditLocale systemEditLocale() {
    const QLocale locale = QLocale::system();
    const QString decimal = locale.decimalPoint();
    return editLocaleFromFormats(locale.dateFormat(QLocale::ShortFormat).toStdU16String(),
                                 locale.timeFormat(QLocale::LongFormat).toStdU16String(),
                                 decimal.isEmpty() ? u'.' : decimal.at(0).unicode());
}

}  // namespace varelo
