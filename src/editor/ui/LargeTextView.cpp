#include "editor/ui/LargeTextView.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>

LargeTextView::LargeTextView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void LargeTextView::setText(const QString& text)
{
    m_text = text;
    m_rows.clear();
    m_longestStart = m_longest = 0;
    // Rows end at each line end, and within a line every kRowCharacters characters (never inside a character).
    const qsizetype size = m_text.size();
    const QChar* data = m_text.constData();
    for (qsizetype start = 0;;) {
        m_rows.push_back(start);
        const qsizetype limit = std::min(size, start + kRowCharacters);
        qsizetype end = start;
        while (end < limit && data[end] != QLatin1Char('\n'))
            ++end;
        if (end == limit && end < size && data[end] != QLatin1Char('\n') && end - 1 > start
            && data[end - 1].isHighSurrogate())
            --end;
        if (end - start > m_longest) {
            m_longest = end - start;
            m_longestStart = start;
        }
        if (end >= size)
            break;
        start = data[end] == QLatin1Char('\n') ? end + 1 : end;
        if (start >= size)
            break;
    }
    measure();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void LargeTextView::measure()
{
    m_widest = fontMetrics().horizontalAdvance(m_text.mid(m_longestStart, m_longest));
    updateScrollBars();
}

QString LargeTextView::row(qsizetype index) const
{
    if (index < 0 || index >= rowCount())
        return {};
    const qsizetype start = m_rows[size_t(index)];
    qsizetype end = index + 1 < rowCount() ? m_rows[size_t(index + 1)] : m_text.size();
    if (end > start && m_text.at(end - 1) == QLatin1Char('\n'))
        --end;
    return m_text.mid(start, end - start);
}

qsizetype LargeTextView::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

void LargeTextView::setMargin(int margin)
{
    m_margin = margin;
    updateScrollBars();
    viewport()->update();
}

int LargeTextView::rowHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

void LargeTextView::updateScrollBars()
{
    // One step of the vertical bar is one row: a scroll bar counts in ints, and a row index fits where pixels
    // of millions of rows would not.
    const int visibleRows = std::max(1, (viewport()->height() - 2 * m_margin) / rowHeight());
    const qsizetype rows = rowCount();
    verticalScrollBar()->setRange(0, int(std::min<qsizetype>(std::max<qsizetype>(0, rows - visibleRows), INT_MAX)));
    verticalScrollBar()->setPageStep(visibleRows);
    verticalScrollBar()->setSingleStep(1);
    const int room = viewport()->width() - 2 * m_margin;
    horizontalScrollBar()->setRange(0, std::max(0, m_widest - room));
    horizontalScrollBar()->setPageStep(std::max(1, room));
    horizontalScrollBar()->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 4));
}

void LargeTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const int height = rowHeight();
    const int ascent = fontMetrics().ascent();
    const int x = m_margin - horizontalScrollBar()->value();
    int y = m_margin;
    for (qsizetype r = firstVisibleRow(); r < rowCount() && y < viewport()->height(); ++r, y += height)
        painter.drawText(x, y + ascent, row(r));
}

void LargeTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void LargeTextView::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Up: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Down: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case Qt::Key_PageUp: bar->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case Qt::Key_PageDown: bar->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case Qt::Key_Home: bar->triggerAction(QAbstractSlider::SliderToMinimum); break;
    case Qt::Key_End: bar->triggerAction(QAbstractSlider::SliderToMaximum); break;
    case Qt::Key_Left: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Right: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void LargeTextView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    // Rows keep their characters; their widths and heights follow the font.
    if (event->type() == QEvent::FontChange)
        measure();
}
