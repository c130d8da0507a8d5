#include "model/Dates.h"

#include <QDate>
#include <QHash>
#include <QLocale>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <memory>

namespace {

struct HebrewFormatters {
    std::unique_ptr<icu::DateFormat> longDate;
    std::unique_ptr<icu::DateFormat> monthName;
};

QString toQString(const icu::UnicodeString& s)
{
    return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

// ICU formatters are costly to make and not safe to share between threads: one set per locale
// and thread, made on first use.
HebrewFormatters* formattersFor(const QLocale& locale)
{
    thread_local QHash<QString, std::shared_ptr<HebrewFormatters>> cache;
    QString name = locale.name();
    if (name == QLatin1String("C"))
        name = QStringLiteral("en_US");
    if (auto it = cache.constFind(name); it != cache.constEnd())
        return it->get();

    auto f = std::make_shared<HebrewFormatters>();
    const icu::Locale icuLocale((name + QStringLiteral("@calendar=hebrew")).toLatin1().constData());
    // The day is given as noon UTC and formatted in UTC, so no time zone can move it to another day.
    f->longDate.reset(icu::DateFormat::createDateInstance(icu::DateFormat::kLong, icuLocale));
    UErrorCode status = U_ZERO_ERROR;
    auto month = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString("MMMM"), icuLocale, status);
    if (U_SUCCESS(status))
        f->monthName = std::move(month);
    for (icu::DateFormat* fmt : {f->longDate.get(), f->monthName.get()}) {
        if (fmt)
            fmt->setTimeZone(*icu::TimeZone::getGMT());
    }
    cache.insert(name, f);
    return f.get();
}

} // namespace

QString Dates::hebrewDateFor(const QDate& date, QString* month) { return hebrewDateFor(date, month, QLocale()); }

QString Dates::hebrewDateFor(const QDate& date, QString* month, const QLocale& locale)
{
    if (month)
        month->clear();
    if (!date.isValid())
        return {};
    HebrewFormatters* f = formattersFor(locale);
    if (!f->longDate)
        return {};
    constexpr qint64 unixEpochJulianDay = 2440588;
    const UDate noonUtc = double(date.toJulianDay() - unixEpochJulianDay) * 86400000.0 + 43200000.0;
    icu::UnicodeString out;
    f->longDate->format(noonUtc, out);
    if (month && f->monthName) {
        icu::UnicodeString name;
        f->monthName->format(noonUtc, name);
        *month = toQString(name);
    }
    return toQString(out);
}
