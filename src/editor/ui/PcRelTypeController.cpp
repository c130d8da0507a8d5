#include "editor/ui/PcRelTypeController.h"

#include "editor/ui/CertaintySlider.h"
#include "editor/ui/PcRelNotesController.h"

#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
QSize g_prevSize;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QLabel* personLabel(const FTPerson* person, const char* objectName)
{
    auto* label = new QLabel(person ? person->nameWithBirthAndDeathYears() : QString());
    label->setObjectName(QString::fromLatin1(objectName));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
}

PcRelTypeController::PcRelTypeController(FTPerson* parent, FTPerson* child, QWidget* window)
    : RelationshipDialog(window)
    , m_choice(parent, child)
    , m_moc(parent ? parent->moc() : nullptr)
{
    setObjectName(QStringLiteral("PcRelTypeDialog"));
    setWindowTitle(L("PcRelTypeTitle"));

    auto* question = new QLabel(L("PcRelTypeQuestion"));
    question->setWordWrap(true);
    m_relType = new QButtonGroup(this);
    auto* rows = new QVBoxLayout;
    rows->setSpacing(4);
    rows->addWidget(personLabel(parent, "parentName"));
    for (int row = 0; row < PcRelTypeChoice::RowCount; ++row) {
        auto* button = new QRadioButton;
        button->setObjectName(QStringLiteral("relType%1").arg(row));
        m_relType->addButton(button, row);
        rows->addWidget(button);
    }
    rows->addWidget(personLabel(child, "childName"));
    connect(m_relType, &QButtonGroup::idClicked, this, [this](int row) { m_choice.selectRow(row); });

    m_certainty = new CertaintySlider;
    connect(m_certainty, &CertaintySlider::chosen, this, [this] { sliderValueChanged(); });
    m_defaultValueLabel = new QLabel(L("DefaultCertainty"));
    m_defaultValueLabel->setObjectName(QStringLiteral("defaultValueLabel"));
    QPalette red = m_defaultValueLabel->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_defaultValueLabel->setPalette(red);

    m_notesButton = makeButton("accessories-text-editor", "PcRelNotesButton", QStringLiteral("notesButton"), [this] { addEditNotes(); });
    QPushButton* help = makeButton("help-browser", "HelpButton", QStringLiteral("helpButton"), [this] { helpForCertaintyAssessment(); });
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_notesButton);
    actions->addWidget(help);
    actions->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(question);
    left->addSpacing(6);
    left->addLayout(rows);
    left->addSpacing(10);
    left->addWidget(m_certainty);
    left->addWidget(m_defaultValueLabel, 0, Qt::AlignRight);
    left->addLayout(actions);
    left->addStretch();

    m_uncertaintyTextView = new QTextBrowser;
    m_uncertaintyTextView->setObjectName(QStringLiteral("uncertaintyTextView"));
    QFont font = m_uncertaintyTextView->font();
    font.setPointSize(12);
    m_uncertaintyTextView->setFont(font);
    m_uncertaintyTextView->setMinimumWidth(320);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 0);
    columns->addWidget(m_uncertaintyTextView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(makeCloseButton());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    resize(760, 440);
    keepSizeIn(&g_prevSize);

    setRadioButtonsText();
    showCertainty();
    setReasonForUncertainty();
}

QSlider* PcRelTypeController::slider() const
{
    return m_certainty->slider();
}

void PcRelTypeController::setRadioButtonsText()
{
    const QStringList titles = m_choice.rowTitles();
    for (int row = 0; row < PcRelTypeChoice::RowCount; ++row) {
        QAbstractButton* button = m_relType->button(row);
        button->setText(titles.value(row));
        button->setEnabled(m_choice.isRowEnabled(row) || row == m_choice.selectedRow());
    }
    if (QAbstractButton* selected = m_relType->button(m_choice.selectedRow()))
        selected->setChecked(true);
}

void PcRelTypeController::showCertainty()
{
    FTPcRel* link = m_choice.pcRel();
    m_certainty->setEnabled(link);
    m_notesButton->setEnabled(link);
    m_certainty->showValue(link ? link->certainty() : 0, link);
    m_defaultValueLabel->setVisible(link && !m_choice.hasStoredCertainty());
}

void PcRelTypeController::setReasonForUncertainty()
{
    m_uncertaintyTextView->setHtml(m_choice.reasonForUncertainty());
}

void PcRelTypeController::sliderValueChanged()
{
    FTPcRel* link = m_choice.pcRel();
    if (!link || link->isDeleted() || (m_choice.hasStoredCertainty() && link->certainty() == m_certainty->value()))
        return;
    link->setCertainty(m_certainty->value());
    m_defaultValueLabel->hide();
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, m_moc);
}

void PcRelTypeController::addEditNotes()
{
    FTPcRel* link = m_choice.pcRel();
    if (!link || link->isDeleted())
        return;
    {
        PcRelNotesController notes(link, this);
        notes.run();
    }
    setReasonForUncertainty();
    showCertainty();
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, m_moc);
}

void PcRelTypeController::helpForCertaintyAssessment()
{
    Utils::displayMsgWithTitle(LocalizedHelpString(QStringLiteral("helpForPcRelTypeTitle")),
        LocalizedHelpString(QStringLiteral("helpForPcRelType")));
}

bool PcRelTypeController::windowShouldClose()
{
    FTLog(QStringLiteral("windowShouldClose"));
    return m_choice.save();
}
