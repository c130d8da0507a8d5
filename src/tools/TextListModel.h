#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include <functional>

// A one-column list of texts (places, event names, family names) that a table shows, edited in place when
// `rename` is set: an edit hands the row and the typed text to it, and the owner changes what it stands for and
// sets the texts again.
class TextListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TextListModel(const QString& header, QObject* parent = nullptr);

    void setTexts(const QStringList& texts);
    const QStringList& texts() const { return m_texts; }
    QString text(int row) const { return row >= 0 && row < m_texts.size() ? m_texts[row] : QString(); }
    int rowOf(const QString& text) const { return int(m_texts.indexOf(text)); }

    // Answers whether the edit is taken; the texts are the owner's to change.
    std::function<bool(int row, const QString& typed)> rename;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString m_header;
    QStringList m_texts;
};
