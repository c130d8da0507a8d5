#pragma once

#include <QPointer>
#include <QPushButton>

class QMenu;

// The labels button beside a source's notes: a click pops up the stored label sets (and "AlterLabels", which runs
// the labels editor); choosing a set inserts its labels, one a line, at the insertion point of the delegate's notes
// view: the sources editor's notes, or the source notes window's. Another delegate gets nothing.
class SelectSourceNotesLabelsButton : public QPushButton {
    Q_OBJECT
public:
    explicit SelectSourceNotesLabelsButton(QWidget* parent = nullptr);

    // The window that owns the notes view (not owned).
    void setDelegate(QObject* delegate) { m_delegate = delegate; }
    QObject* delegate() const { return m_delegate; }

    // The menu a click shows, built afresh: "AlterLabels", a separator, one item per stored set.
    QMenu* buildMenu(QWidget* parent = nullptr);
    // Runs the labels editor modally.
    void defineASetOfLabels();
    // Inserts the set's labels into the delegate's notes view.
    void selectLabels(const QString& labelSet);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPointer<QObject> m_delegate;
};
