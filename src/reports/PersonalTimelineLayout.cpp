#include "reports/PersonalTimelineLayout.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include <QTextDocument>
#include <QTextOption>

namespace {
constexpr double kLabelHeight = 15;
constexpr double kTextInset = 3;
}

double PersonalTimelineLayout::textHeight(const QString& text, double width, const QFont& font)
{
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(font);
    document.setPlainText(text);
    document.setTextWidth(width);
    return document.size().height();
}

PersonalTimelineLayout PersonalTimelineLayout::make(
    FTPerson* person, bool includeRelatedEvents, const QSizeF& size, const QFont& font)
{
    PersonalTimelineLayout layout;
    const double W = size.width();
    const double H = size.height();
    const double C = W / 10;
    layout.columnWidth = C;
    if (!person)
        return layout;

    struct Dated {
        int decade;
        QString text;
    };
    QList<Dated> dated;
    {
        // The rows observe their events: they live only while the texts are made.
        const auto rows = person->createEventInfoArray(includeRelatedEvents);
        for (const auto& row : rows) {
            const FTEvent* event = row->pEvent();
            const int decade = event ? event->year() / 10 : 0;
            if (decade <= 0)
                continue;
            const int age = event->yearsSince(person->birth());
            const QString ageText = age != 0 ? QStringLiteral("%1.  ").arg(age) : QString();
            QString date = event->date();
            date.replace(QLatin1Char(' '), QLatin1Char('-'));
            dated.push_back({decade, QStringLiteral("%1%2\n%3").arg(ageText, date, row->eventName())});
        }
    }
    if (!dated.isEmpty()) {
        layout.firstDecade = dated.first().decade;
        layout.lastDecade = dated.last().decade;
    }
    for (int d = layout.firstDecade; d <= layout.lastDecade; ++d)
        layout.labels.push_back({QStringLiteral("%1-%2").arg(d * 10).arg(d * 10 + 9),
            QPointF(kTextInset + (d - layout.firstDecade) * C, 0)});

    double x = 0;
    double y = 0;
    int previous = 0;
    for (const Dated& row : dated) {
        if (previous != 0 && row.decade != previous) {
            x += C * (row.decade - previous);
            y = 0;
        }
        previous = row.decade;
        y += kLabelHeight;
        const double height = textHeight(row.text, C - kTextInset, font);
        layout.rows.push_back({row.text, row.decade, QRectF(x + kTextInset, y, C - kTextInset, height)});
        y += height;
    }

    layout.lines.push_back(QLineF(0, kLabelHeight, W, kLabelHeight));
    // A line at every column boundary inside the view, whatever its width.
    for (int k = 1; C > 0 && k * C < W - 0.5; ++k)
        layout.lines.push_back(QLineF(k * C, 0, k * C, H));
    return layout;
}
