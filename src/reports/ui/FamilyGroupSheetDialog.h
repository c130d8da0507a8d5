#pragma once

#include "reports/FamilyGroupSheet.h"

#include <QWidget>

class FTMoc;
class FTPerson;
class QCheckBox;
class QPushButton;
class QTextEdit;

// A person's family group sheet in an ordinary window: the sheet as editable rich text (edits stay inside the
// table cells), five options that rebuild it from the database, and Save, which writes it as RTF into the
// reports folder, opens it in the word processor and closes the window. Two options (birth dates of the
// living, LDS lines) carry over to the next sheet of the run.
//
//   auto* window = new FamilyGroupSheetDialog(person, mainWindow);   // deletes itself when closed
//   window->show();
class FamilyGroupSheetDialog : public QWidget {
    Q_OBJECT
public:
    explicit FamilyGroupSheetDialog(FTPerson* person, QWidget* parent = nullptr);
    ~FamilyGroupSheetDialog() override;

    const FamilyGroupSheet::Options& options() const { return m_options; }
    // Sets an option as its check box does: the sheet is made again, edits in it are lost.
    void setOption(bool FamilyGroupSheet::Options::*option, bool on);
    // Makes the sheet again from the database.
    void refreshDisplay();
    // Writes the sheet to the first free name in the reports folder and hands it to the word processor, then
    // closes the window; a file that cannot be written is reported and the window stays. Answers the path
    // written (empty when nothing was).
    QString print();

    QTextEdit* textView() const { return m_textView; }
    QCheckBox* optionBox(bool FamilyGroupSheet::Options::*option) const;
    QPushButton* saveButton() const { return m_saveButton; }
    FTPerson* selectedPerson() const { return m_selectedPerson; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    FTMoc* m_moc;
    FTPerson* m_selectedPerson;
    FamilyGroupSheet::Options m_options;
    QTextEdit* m_textView = nullptr;
    QPushButton* m_saveButton = nullptr;
    QList<std::pair<bool FamilyGroupSheet::Options::*, QCheckBox*>> m_boxes;
};
