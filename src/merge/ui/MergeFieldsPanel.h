#pragma once

#include <QColor>
#include <QHash>
#include <QWidget>

#include <functional>

class FTPerson;
class QAbstractButton;
class QLabel;
class QWidget;

// The two people's fields side by side in the merge windows: the merge-from person's on the left, drawn blue
// where they differ from the merge-into person's on the right, and between them one button per field group,
// its tag (MergeTag) sent to `merge`.
//
//   auto* fields = new MergeFieldsPanel([this](int tag) { mergeField(tag); });
//   fields->setCaptions(L("MergeFrom"), L("MergeTo"));
//   fields->showPeople(theirs, ours);     // after every merge too
class MergeFieldsPanel : public QWidget {
    Q_OBJECT
public:
    explicit MergeFieldsPanel(std::function<void(int tag)> merge, QWidget* parent = nullptr);

    void setCaptions(const QString& from, const QString& into);
    void showPeople(const FTPerson* from, const FTPerson* into);
    void setButtonsEnabled(bool enabled);

    // The colour of a merge-from field by its colour name ("p1NameColour" ...).
    QColor colour(const QString& colourField) const { return m_colours.value(colourField); }
    QAbstractButton* button(int tag) const { return m_buttons.value(tag); }
    QLabel* fromCaption() const { return m_fromCaption; }
    QLabel* intoCaption() const { return m_intoCaption; }

private:
    QHash<QString, QWidget*> m_fromValues;
    QHash<QString, QWidget*> m_intoValues;
    QHash<QString, QColor> m_colours;
    QHash<int, QAbstractButton*> m_buttons;
    QLabel* m_fromCaption = nullptr;
    QLabel* m_intoCaption = nullptr;
};
