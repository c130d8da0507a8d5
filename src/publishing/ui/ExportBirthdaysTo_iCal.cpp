#include "publishing/ui/ExportBirthdaysTo_iCal.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kEmailAddress = QStringLiteral("iCalEmailAddress");

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QToolButton* helpButton(const QString& objectName, QWidget* owner, std::function<void()> action)
{
    auto* button = new QToolButton(owner);
    button->setObjectName(objectName);
    button->setIcon(themeIcon(QStringLiteral("help-browser")));
    button->setAutoRaise(true);
    QObject::connect(button, &QToolButton::clicked, owner, std::move(action));
    return button;
}
}

ExportBirthdaysTo_iCal::ExportBirthdaysTo_iCal(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_export(moc)
{
    setObjectName(QStringLiteral("ExportBirthdaysTo_iCal"));
    setWindowTitle(L("iCalWindowTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(620, 600);

    m_textView = new QTextEdit;
    m_textView->setObjectName(QStringLiteral("textView"));
    m_textView->setReadOnly(true);
    m_textView->setMinimumHeight(150);

    const ICalExport::Options defaults;
    m_kinship = new QSpinBox;
    m_kinship->setObjectName(QStringLiteral("kinship"));
    m_kinship->setRange(0, 20);
    m_kinship->setValue(defaults.kinship);
    m_kinship->setKeyboardTracking(false);
    connect(m_kinship, &QSpinBox::valueChanged, this, [this] { kinshipChanged(); });
    auto* kinshipRow = new QHBoxLayout;
    kinshipRow->addWidget(m_kinship);
    kinshipRow->addWidget(new QLabel(L("iCalKinshipEverybody")));
    kinshipRow->addWidget(helpButton(QStringLiteral("helpForKinship"), this, [this] { helpForKinship(); }));
    kinshipRow->addStretch(1);
    m_numPeople = new QLabel;
    m_numPeople->setObjectName(QStringLiteral("numPeople"));
    auto* who = new QFormLayout;
    who->addRow(L("Kinship"), kinshipRow);
    who->addRow(L("iCalPeopleCovered"), m_numPeople);

    auto check = [this](const char* name, const char* key, bool on) {
        auto* box = new QCheckBox(L(key));
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(on);
        connect(box, &QCheckBox::toggled, this, [this] { showText(); });
        return box;
    };
    m_births = check("includeBirths", "iCalIncludeBirths", defaults.includeBirths);
    m_deaths = check("includeDeaths", "iCalIncludeDeaths", defaults.includeDeaths);
    m_marriages = check("includeMarriages", "iCalIncludeMarriages", defaults.includeMarriages);
    auto* kinds = new QGroupBox(L("Export"));
    auto* kindsLayout = new QVBoxLayout(kinds);
    for (QCheckBox* box : {m_births, m_deaths, m_marriages})
        kindsLayout->addWidget(box);

    m_allDay = check("bAllDayEvent", "iCalAllDay", defaults.bAllDayEvent);
    m_fullName = check("showFullNameOnCalendar", "iCalFullName", defaults.showFullNameOnCalendar);
    m_displayAlarm = check("displayAlarm", "DisplayAlarm", defaults.displayAlarm);
    m_emailAlarm = check("emailAlarm", "EmailAlarm", defaults.emailAlarm);
    m_emailAddress = new QLineEdit(UserDefaults::standard().stringForKey(kEmailAddress));
    m_emailAddress->setObjectName(QStringLiteral("emailAddress"));
    m_emailAddress->setPlaceholderText(L("EmailAddress"));
    connect(m_emailAddress, &QLineEdit::textChanged, this,
            [](const QString& text) { UserDefaults::standard().setString(kEmailAddress, text); });
    auto* emailRow = new QHBoxLayout;
    emailRow->addWidget(m_emailAlarm);
    emailRow->addWidget(m_emailAddress, 1);
    emailRow->addWidget(helpButton(QStringLiteral("helpEmailAddress"), this, [this] { helpEmailAddress(); }));
    auto* how = new QGroupBox(L("iCalOptions"));
    auto* howLayout = new QVBoxLayout(how);
    howLayout->addWidget(m_allDay);
    howLayout->addWidget(m_fullName);
    howLayout->addWidget(m_displayAlarm);
    howLayout->addLayout(emailRow);

    auto* options = new QHBoxLayout;
    options->addWidget(kinds);
    options->addWidget(how, 1);

    m_exitButton = new QPushButton(L("Close"));
    m_exitButton->setObjectName(QStringLiteral("exitButton"));
    m_exitButton->setAutoDefault(false);
    connect(m_exitButton, &QPushButton::clicked, this, [this] { done(0); });
    m_goButton = new QPushButton(themeIcon(QStringLiteral("x-office-calendar")), L("Export"));
    m_goButton->setObjectName(QStringLiteral("goButton"));
    m_goButton->setDefault(true);
    connect(m_goButton, &QPushButton::clicked, this, [this] { go(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_exitButton);
    buttons->addWidget(m_goButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_textView, 1);
    layout->addLayout(who);
    layout->addLayout(options);
    layout->addLayout(buttons);

    kinshipChanged();
}

void ExportBirthdaysTo_iCal::readOptions()
{
    ICalExport::Options& o = m_export.options;
    o.kinship = m_kinship->value();
    o.includeBirths = m_births->isChecked();
    o.includeDeaths = m_deaths->isChecked();
    o.includeMarriages = m_marriages->isChecked();
    o.bAllDayEvent = m_allDay->isChecked();
    o.showFullNameOnCalendar = m_fullName->isChecked();
    o.displayAlarm = m_displayAlarm->isChecked();
    o.emailAlarm = m_emailAlarm->isChecked();
}

void ExportBirthdaysTo_iCal::showText()
{
    readOptions();
    QStringList blocks {m_export.instructions()};
    blocks << m_statistics;
    m_textView->setPlainText(blocks.join(QStringLiteral("\n\n")));
    m_textView->verticalScrollBar()->setValue(m_textView->verticalScrollBar()->maximum());
}

void ExportBirthdaysTo_iCal::kinshipChanged()
{
    readOptions();
    m_export.numPeople = m_export.people().size();
    m_numPeople->setText(QString::number(m_export.numPeople));
    showText();
}

void ExportBirthdaysTo_iCal::go()
{
    m_exitButton->setEnabled(false);
    m_goButton->setEnabled(false);
    readOptions();
    if (m_export.exportToICal()) {
        m_statistics << m_export.statistics();
        showText();
        DisplayMsg(QStringLiteral("%1: %2").arg(L("OutputInFilename"), m_export.outputFilePath()));
        Utils::displayFile(m_export.outputFilePath(), QString());
    }
    m_exitButton->setEnabled(true);
    m_goButton->setEnabled(true);
}

void ExportBirthdaysTo_iCal::helpEmailAddress()
{
    Utils::displayMsgWithTitle(L("EmailAddress"), L("helpForEmailAddress"));
}

void ExportBirthdaysTo_iCal::helpForKinship()
{
    Utils::displayMsgWithTitle(L("Kinship"), L("helpForKinship"));
}
