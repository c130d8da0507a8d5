#include "diagrams/ui/AuthorsByline.h"

#include "diagrams/ui/HdWindowParts.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kByline = QStringLiteral("authorsByline");

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

AuthorsByline::AuthorsByline(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AuthorsByline"));
    setWindowTitle(L("AuthorsBylineTitle"));
    HdWindowParts::applyPanelColour(this);
    UserDefaults& d = UserDefaults::standard();
    d.registerDefaults({ { kByline, QString() } });

    auto* label = new QLabel(L("AuthorsBylineLabel"));
    label->setWordWrap(true);
    m_field = new QLineEdit(d.stringForKey(kByline));
    m_field->setObjectName(kByline);
    m_field->setMinimumWidth(360);
    m_field->setPlaceholderText(L("AuthorsBylinePlaceholder"));
    label->setBuddy(m_field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(L("Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    connect(m_field, &QLineEdit::returnPressed, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(8);
    layout->addWidget(label);
    layout->addWidget(m_field);
    layout->addSpacing(4);
    layout->addWidget(buttons);
    setFixedHeight(sizeHint().height());
}

void AuthorsByline::done(int result)
{
    // The field's text is the byline whichever way the window goes.
    UserDefaults::standard().setString(kByline, m_field->text().trimmed());
    QDialog::done(result);
}
