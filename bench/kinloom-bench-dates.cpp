// Reads a million typed dates, a mix like the one users and GEDCOM files produce, and prints the rate.
//   kinloom-bench-dates [count]
#include "BenchSupport.h"
#include "model/Dates.h"

#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>

namespace {

QStringList typedDates(int count)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char* const longMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                                             "August", "September", "October", "November", "December"};
    static const char* const quals[] = {"abt", "ABT", "c.", "circa", "bef", "before", "aft", "after", "Abt."};
    QRandomGenerator rng(20240611);
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int y = 1600 + int(rng.bounded(420));
        const int m = 1 + int(rng.bounded(12));
        const int d = 1 + int(rng.bounded(28));
        const QString q = QString::fromLatin1(quals[rng.bounded(9)]);
        QString s;
        switch (rng.bounded(20)) {
        case 0: case 1: case 2: case 3: case 4: case 5:
            s = QStringLiteral("%1 %2 %3").arg(d).arg(QLatin1String(months[m - 1])).arg(y);
            break;
        case 6: case 7: case 8:
            s = QString::number(y);
            break;
        case 9: case 10:
            s = QStringLiteral("%1 %2").arg(q).arg(y);
            break;
        case 11:
            s = QStringLiteral("%1 %2").arg(QLatin1String(months[m - 1])).arg(y);
            break;
        case 12:
            s = QStringLiteral("%1 %2 %3 %4").arg(q).arg(d).arg(QLatin1String(months[m - 1])).arg(y);
            break;
        case 13:
            s = QStringLiteral("%1/%2/%3").arg(d).arg(m).arg(y);
            break;
        case 14:
            s = QStringLiteral("%1 %2 %3").arg(d).arg(QLatin1String(longMonths[m - 1]).toString().toUpper()).arg(y);
            break;
        case 15:
            s = QStringLiteral("%1-%2-%3").arg(d, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0')).arg(y);
            break;
        case 16:
            s = QStringLiteral("%1 %2 %3").arg(q).arg(QLatin1String(months[m - 1])).arg(y);
            break;
        case 17:
            s = QStringLiteral("y");
            break;
        case 18:
            s = QStringLiteral("bet %1 and %2").arg(y).arg(y + 10);
            break;
        default:
            s = QStringLiteral("%1 Feb %2").arg(29 + int(rng.bounded(2))).arg(y);
            break;
        }
        out << s;
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    // Day first whatever the machine's locale, read through the user default as the program does.
    UserDefaults::standard().setString(QStringLiteral("NSShortDateFormatString"), QStringLiteral("dd/MM/yyyy"));

    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    const QStringList dates = typedDates(count);

    // Quiet, as an import reads: the February message would stop for the user each time.
    const Dates::ReadOptions options{.quiet = true};
    qint64 valid = 0;
    quint64 keys = 0;
    QElapsedTimer timer;
    timer.start();
    for (const QString& s : dates) {
        if (const std::optional<DateValue> v = Dates::getDateComponents(s, options)) {
            ++valid;
            keys += v->longDate() + quint64(v->text().size());
        }
    }
    const double seconds = timer.nsecsElapsed() / 1e9;

    std::printf("dates: %d\n", count);
    std::printf("valid: %lld\n", static_cast<long long>(valid));
    std::printf("seconds: %.3f\n", seconds);
    std::printf("dates_per_s: %.0f\n", seconds > 0 ? count / seconds : 0.0);
    std::printf("checksum: %llu\n", static_cast<unsigned long long>(keys));
    return 0;
}
