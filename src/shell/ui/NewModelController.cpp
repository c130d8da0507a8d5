#include "shell/ui/NewModelController.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NewModelController::NewModelController(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("NewModelDialog"));
    setWindowTitle(Prompts::kAlertTitle);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    m_modelName = new QLineEdit;
    m_modelName->setObjectName(QStringLiteral("modelName"));
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("name"));
    m_gender = new QLineEdit(LocalizedString("MaleShort"));
    m_gender->setObjectName(QStringLiteral("gender"));
    m_gender->setMaximumWidth(60);

    auto* form = new QFormLayout;
    form->addRow(LocalizedString("NewDatabaseName"), m_modelName);
    form->addRow(LocalizedString("NewDatabaseFirstPerson"), m_name);
    form->addRow(LocalizedString("NewDatabaseGender"), m_gender);

    auto* buttons = new QDialogButtonBox;
    QPushButton* create = buttons->addButton(LocalizedString("NewDatabaseCreate"), QDialogButtonBox::AcceptRole);
    create->setDefault(true);
    buttons->addButton(LocalizedString("Cancel"), QDialogButtonBox::RejectRole);
    connect(create, &QPushButton::clicked, this, [this] { createNewModel(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { cancel(); });

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(LocalizedString("NewDatabaseTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString NewModelController::name() const { return m_name->text(); }
QString NewModelController::gender() const { return m_gender->text(); }
QString NewModelController::modelName() const { return m_modelName->text(); }
void NewModelController::setName(const QString& name) { m_name->setText(name); }
void NewModelController::setGender(const QString& gender) { m_gender->setText(gender); }
void NewModelController::setModelName(const QString& modelName) { m_modelName->setText(modelName); }

bool NewModelController::isValidModelName(const QString& name)
{
    for (const QChar c : name) {
        const ushort u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == ' '
            || u == '\'';
        if (!ok)
            return false;
    }
    return true;
}

bool NewModelController::validateModelName()
{
    QString text = m_modelName->text();
    const QString trimmed = TrimString(&text);
    m_modelName->setText(trimmed);
    return isValidModelName(trimmed);
}

bool NewModelController::createNewModel()
{
    // What is being typed counts.
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    if (!validateModelName()) {
        DisplayMsg(LocalizedString("FileRestrictions"));
        return false;
    }
    if (modelName().isEmpty()) {
        DisplayMsg(LocalizedString("EnterTreeName"));
        return false;
    }
    QString personName = m_name->text();
    if (TrimString(&personName).isEmpty()) {
        DisplayMsg(LocalizedString("EnterPersonsName"));
        return false;
    }
    const QString gender = m_gender->text().toUpper();
    m_gender->setText(gender);
    if (gender != LocalizedString("MaleShort") && gender != LocalizedString("FemaleShort")) {
        DisplayMsg(LocalizedString("GenderQualification"));
        return false;
    }
    accept();
    Utils::sleep(50);
    return true;
}

void NewModelController::cancel()
{
    reject();
    Utils::sleep(50);
}
