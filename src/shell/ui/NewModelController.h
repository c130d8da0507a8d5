#pragma once

#include <QDialog>

class QLineEdit;

// The new-database dialog: the database's name and the name and gender of its first person. "Create" checks
// what was typed (a message for each fault, the dialog stays open with the text) and accepts; "Cancel" rejects.
//
//   NewModelController dialog;
//   if (dialog.exec() == QDialog::Accepted)
//       NewDatabase::create(dialog.modelName(), dialog.name(), dialog.gender().left(1));
class NewModelController : public QDialog {
    Q_OBJECT
public:
    explicit NewModelController(QWidget* parent = nullptr);

    QString name() const;
    QString gender() const;
    QString modelName() const;
    void setName(const QString& name);
    void setGender(const QString& gender);
    void setModelName(const QString& modelName);

    // Trims the database name (also in its field) and answers whether it holds only ASCII letters, digits,
    // blanks and apostrophes. An empty name passes.
    bool validateModelName();
    static bool isValidModelName(const QString& trimmedName);
    // The create button: the checks, then accept().
    bool createNewModel();
    void cancel();

    QLineEdit* modelNameField() const { return m_modelName; }
    QLineEdit* nameField() const { return m_name; }
    QLineEdit* genderField() const { return m_gender; }

private:
    QLineEdit* m_modelName = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_gender = nullptr;
};
