#pragma once

#include "model/Dates.h"

#include <QLineEdit>

// A date typed into a line edit (a field, or a table cell's editor) as the date check sees it: red text marks a
// refused date.
class LineEditDateField : public Dates::Field {
public:
    explicit LineEditDateField(QLineEdit* edit)
        : m_edit(edit)
    {
    }
    QString string() const override { return m_edit->text(); }
    void setString(const QString& s) override { m_edit->setText(s); }
    void setTextRed(bool red) override
    {
        QPalette p = m_edit->palette();
        p.setColor(QPalette::Text, red ? QColor(Qt::red) : QPalette().color(QPalette::Text));
        m_edit->setPalette(p);
    }

private:
    QLineEdit* m_edit;
};
