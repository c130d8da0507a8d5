#pragma once

#include <QDialog>

class QLineEdit;

// The byline that follows the hierarchy diagram's title ("... by <byline>"): one field editing the user default
// "authorsByline", kept as the dialog closes, however it closes. Run modally from the customise window when its
// byline switch turns on.
//
//   AuthorsByline byline(customiseWindow);
//   byline.exec();
class AuthorsByline : public QDialog {
    Q_OBJECT
public:
    explicit AuthorsByline(QWidget* parent = nullptr);

    QLineEdit* bylineField() const { return m_field; }
    void done(int result) override;

private:
    QLineEdit* m_field;
};
