#include "diagrams/CdTimeline.h"

#include "diagrams/CdPerson.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include <QFont>
#include <QPainter>

#include <cmath>

int CdTimeline::roundedToFive(int year)
{
    const int remainder = year % 5;
    return remainder <= 2 ? year - remainder : year + 5 - remainder;
}

QList<CdTimeline::Label> CdTimeline::labels(const std::vector<std::unique_ptr<CdPerson>>& boxes, int maxAncLevel)
{
    // Columns 0 .. maxAncLevel + 1: the tables are as wide as the generations shown.
    const int columns = std::max(0, maxAncLevel) + 2;
    std::vector<long long> count(size_t(columns), 0), sum(size_t(columns), 0);
    std::vector<double> x(size_t(columns), 0);
    for (const auto& box : boxes) {
        const FTPerson* p = box->person();
        if (!p)
            continue;
        const long level = box->ancLevel();
        int column;
        if (level == CdPerson::kChild)
            column = 0;
        else if (level == CdPerson::kFocal || level == CdPerson::kSpouse)
            column = 1;
        else if (level >= 1)
            column = int(level) + 1;
        else
            continue;
        if (column >= columns)
            continue;
        const int birth = p->birth() ? p->birth()->year() : 0;
        const int death = p->death() ? p->death()->year() : 0;
        const int year = birth ? birth : death - 50;
        if (!birth && (death == 0 || death == 50))
            continue;
        ++count[size_t(column)];
        sum[size_t(column)] += year;
        x[size_t(column)] = std::trunc(box->rclBox().center().x());
    }
    QList<Label> out;
    for (int i = 0; i < columns; ++i)
        if (count[size_t(i)])
            out << Label {x[size_t(i)] - 20, roundedToFive(int(sum[size_t(i)] / count[size_t(i)]))};
    return out;
}

void CdTimeline::displayTimeline(QPainter& painter, const QList<Label>& labels)
{
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(9);
    painter.setFont(font);
    painter.setPen(QColor(64, 64, 64));
    for (const Label& label : labels)
        painter.drawText(QRectF(label.x, -1, 60, 16), Qt::AlignLeft | Qt::AlignVCenter, QString::number(label.year));
    painter.restore();
}
