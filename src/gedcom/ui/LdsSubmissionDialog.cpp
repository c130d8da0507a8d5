#include "gedcom/ui/LdsSubmissionDialog.h"

#include "gedcom/GedcomExportOptions.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {
// The label of each key's field: "LdsSubmitterName" is labelled by the text of "LdsSubmitterNameLabel".
QString labelFor(const QString& key)
{
    return LocalizedString(key + QStringLiteral("Label"));
}
}

LdsSubmissionDialog::LdsSubmissionDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("LdsSubmissionDialog"));
    setWindowTitle(LocalizedString(QStringLiteral("LdsSubmissionTitle")));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    setMinimumWidth(480);

    GedcomExportOptions::ensureSubmissionKeys();
    UserDefaults& defaults = UserDefaults::standard();

    QList<QLabel*> labels;
    auto group = [&](const QString& titleKey, const QStringList& keys, const QString& helpObjectName,
                     std::function<void()> help) {
        auto* box = new QGroupBox(LocalizedString(titleKey));
        auto* form = new QFormLayout;
        for (const QString& key : keys) {
            auto* field = new QLineEdit(defaults.stringForKey(key));
            field->setObjectName(key);
            connect(field, &QLineEdit::textEdited, this,
                [key](const QString& text) { UserDefaults::standard().setString(key, text); });
            auto* label = new QLabel(labelFor(key));
            label->setBuddy(field);
            labels << label;
            form->addRow(label, field);
            m_fields << field;
        }
        auto* helpButton = new QPushButton(LocalizedString(QStringLiteral("LdsHelp")));
        helpButton->setObjectName(helpObjectName);
        helpButton->setAutoDefault(false);
        connect(helpButton, &QPushButton::clicked, this, std::move(help));
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        row->addWidget(helpButton);
        auto* layout = new QVBoxLayout(box);
        layout->addLayout(form);
        layout->addLayout(row);
        return box;
    };

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group(QStringLiteral("LdsSubmitterGroup"), GedcomExportOptions::submitterKeys(),
        QStringLiteral("helpForLdsSubmitter"), [this] { helpForLdsSubmitter(); }));
    layout->addWidget(group(QStringLiteral("LdsSubmissionGroup"), GedcomExportOptions::submissionKeys(),
        QStringLiteral("helpForLdsSubmission"), [this] { helpForLdsSubmission(); }));
    // One label column for both groups, so that their fields line up.
    int labelWidth = 0;
    for (const QLabel* label : labels)
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (QLabel* label : labels)
        label->setMinimumWidth(labelWidth);
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(LocalizedString(QStringLiteral("OK")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QLineEdit* LdsSubmissionDialog::field(const QString& key) const
{
    for (QLineEdit* f : m_fields)
        if (f->objectName() == key)
            return f;
    return nullptr;
}

void LdsSubmissionDialog::helpForLdsSubmission()
{
    Utils::displayMsgWithTitle(LocalizedHelpString(QStringLiteral("helpForLdsSubmissionTitle")),
        LocalizedHelpString(QStringLiteral("helpForLdsSubmission")));
}

void LdsSubmissionDialog::helpForLdsSubmitter()
{
    Utils::displayMsgWithTitle(LocalizedHelpString(QStringLiteral("helpForLdsSubmitterTitle")),
        LocalizedHelpString(QStringLiteral("helpForLdsSubmitter")));
}

void LdsSubmissionDialog::storeFields()
{
    UserDefaults& defaults = UserDefaults::standard();
    for (QLineEdit* f : std::as_const(m_fields))
        defaults.setString(f->objectName(), f->text());
}

void LdsSubmissionDialog::done(int result)
{
    // However the window closes, what was typed is kept (there is no cancel).
    storeFields();
    QDialog::done(result);
    Utils::sleep(50);
}
