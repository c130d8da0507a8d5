#pragma once

#include "publishing/ICalExport.h"

#include <QDialog>
#include <QStringList>

class FTMoc;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTextEdit;

// The window that exports birthdays and anniversaries to a calendar file (ICalExport): whom (everybody, or the
// focal person's kin within a number of steps), which anniversaries, whole days or timed, which alarms. Each
// Export writes a new file, shows where it went, opens it in the desktop's calendar program and adds its figures
// to the text above. Run modally; nothing in the database changes.
//
//   ExportBirthdaysTo_iCal window(doc->moc(), doc->dovurWindow());
//   window.exec();
class ExportBirthdaysTo_iCal : public QDialog {
    Q_OBJECT
public:
    explicit ExportBirthdaysTo_iCal(FTMoc* moc, QWidget* parent = nullptr);

    ICalExport& exporter() { return m_export; }
    // The kinship control: the number of people covered.
    void kinshipChanged();
    // The Export button.
    void go();
    void helpEmailAddress();
    void helpForKinship();

    QSpinBox* kinshipField() const { return m_kinship; }
    QLabel* numPeopleField() const { return m_numPeople; }
    QTextEdit* textView() const { return m_textView; }
    QLineEdit* emailAddressField() const { return m_emailAddress; }
    QCheckBox* displayAlarmCheckBox() const { return m_displayAlarm; }
    QCheckBox* emailAlarmCheckBox() const { return m_emailAlarm; }
    QPushButton* goButton() const { return m_goButton; }
    QPushButton* exitButton() const { return m_exitButton; }

private:
    void readOptions();
    void showText();

    FTMoc* m_moc;
    ICalExport m_export;
    QStringList m_statistics;
    QSpinBox* m_kinship = nullptr;
    QLabel* m_numPeople = nullptr;
    QTextEdit* m_textView = nullptr;
    QCheckBox* m_births = nullptr;
    QCheckBox* m_deaths = nullptr;
    QCheckBox* m_marriages = nullptr;
    QCheckBox* m_allDay = nullptr;
    QCheckBox* m_fullName = nullptr;
    QCheckBox* m_displayAlarm = nullptr;
    QCheckBox* m_emailAlarm = nullptr;
    QLineEdit* m_emailAddress = nullptr;
    QPushButton* m_goButton = nullptr;
    QPushButton* m_exitButton = nullptr;
};
