#include "ui/regionalFormatsFromLocale.h"

#include "ui/qtText.h"

namespace {

// The first character of a time format that is neither a field letter nor quoted text.
QString timeSeparatorOf(const QString& timeFormat) {
    bool quoted = false;
    for (const QChar c : timeFormat) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && !c.isLetter() && !c.isSpace()) {
            return c;
        }
    }
    return QStringLiteral(":");
}

}  // namespace

RegionalFormats regionalFormatsFromLocale(const QLocale& locale) {
    RegionalFormats formats;
    formats.thousandsSeparator = toEightBit(locale.groupSeparator());
    formats.decimalSeparator = toEightBit(locale.decimalPoint());
    formats.timeSeparator = toEightBit(timeSeparatorOf(locale.timeFormat(QLocale::ShortFormat)));
    formats.amText = toEightBit(locale.amText());
    formats.pmText = toEightBit(locale.pmText());
    formats.shortDateFormat = toEightBit(locale.dateFormat(QLocale::ShortFormat));
    formats.longTimeFormat = toEightBit(locale.timeFormat(QLocale::LongFormat));
    return formats;
}
