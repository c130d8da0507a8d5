#pragma once

#include <QString>

// One row of the labels editor: a label set as the user typed it ("Volume; Page, Line").
class SourceLabel {
public:
    SourceLabel() = default;
    explicit SourceLabel(const QString& label)
        : m_label(label)
    {
    }
    static SourceLabel initWithString(const QString& label) { return SourceLabel(label); }

    QString label() const { return m_label; }
    void setLabel(const QString& label) { m_label = label; }

private:
    QString m_label;
};
