#include "reports/ui/PersonalTimelineView.h"

#include "reports/PersonalTimelineLayout.h"

#include "platform/UserDefaults.h"

#include <QPainter>
#include <QTextDocument>

PersonalTimelineView::PersonalTimelineView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("timelineView"));
}

void PersonalTimelineView::setPerson(FTPerson* person)
{
    m_person = person;
    update();
}

void PersonalTimelineView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(204, 226, 213));
    const PersonalTimelineLayout layout = PersonalTimelineLayout::make(m_person,
        UserDefaults::standard().boolForKey(QStringLiteral("includeRelatedEvents")), QSizeF(size()), font());

    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetricsF metrics(font());
    for (const PersonalTimelineLayout::Label& label : layout.labels)
        painter.drawText(label.at + QPointF(0, metrics.ascent()), label.text);

    QTextDocument text;
    text.setDocumentMargin(0);
    text.setDefaultFont(font());
    for (const PersonalTimelineLayout::Row& row : layout.rows) {
        text.setPlainText(row.text);
        text.setTextWidth(row.rect.width());
        painter.save();
        painter.translate(row.rect.topLeft());
        text.drawContents(&painter, QRectF(QPointF(0, 0), row.rect.size()));
        painter.restore();
    }

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 0.5));
    painter.drawLines(layout.lines);
}
