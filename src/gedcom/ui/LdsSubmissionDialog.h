#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;

// The submitter and submission data that a GEDCOM export writes into its SUBM and SUBN records: eleven user
// defaults ("LdsSubmitterName", ...), each edited in a field of its own and stored as it is typed. Opening the
// window stores an empty text under each key that has none yet. Run modally from the export window.
class LdsSubmissionDialog : public QDialog {
    Q_OBJECT
public:
    explicit LdsSubmissionDialog(QWidget* parent = nullptr);

    // The field of a key, for tests and screenshots.
    QLineEdit* field(const QString& key) const;

    void helpForLdsSubmission();
    void helpForLdsSubmitter();

    // Commits every field to the user defaults.
    void storeFields();

public Q_SLOTS:
    void done(int result) override;

private:
    QList<QLineEdit*> m_fields;
};
