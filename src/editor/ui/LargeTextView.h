#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <vector>

// A very long plain text (notes of many megabytes, as another program or an old import may leave them) shown as it
// is stored, read-only: it holds the text itself (shared with the record, never copied), an index of where its
// rows begin, and draws only the rows in sight. A text editor would lay out and hold the whole text several times
// over. A line longer than kRowCharacters continues on the next row.
class LargeTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr qsizetype kRowCharacters = 1000;

    explicit LargeTextView(QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return m_text; }
    qsizetype rowCount() const { return qsizetype(m_rows.size()); }
    // The text of one row, without its line end.
    QString row(qsizetype index) const;
    // The first row in sight.
    qsizetype firstVisibleRow() const;
    // The room around the text, as in the notes boxes.
    void setMargin(int margin);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void measure();
    void updateScrollBars();
    int rowHeight() const;

    QString m_text;
    std::vector<qsizetype> m_rows; // the start of each row in m_text
    qsizetype m_longestStart = 0;  // the row with the most characters
    qsizetype m_longest = 0;
    int m_widest = 0;              // its width
    int m_margin = 5;
};
