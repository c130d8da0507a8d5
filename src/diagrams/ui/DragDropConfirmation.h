#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;

// Tells how many dropped pictures were added to whom ("3 pictures added to\nMary Brown."), shown modally once the
// drag has ended. Its switch stops it for later drops (user default "suppressDragDropConfirmation"): they then
// only sound the alert.
class DragDropConfirmation : public QDialog {
    Q_OBJECT
public:
    explicit DragDropConfirmation(const QString& message, QWidget* parent = nullptr);

    QString message() const { return m_message; }
    QLabel* messageLabel() const { return m_messageLabel; }
    QCheckBox* suppressBox() const { return m_suppress; }

public Q_SLOTS:
    void done(int result) override;

private:
    QString m_message;
    QLabel* m_messageLabel = nullptr;
    QCheckBox* m_suppress = nullptr;
};
