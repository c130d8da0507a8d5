#include "editor/ui/PcRelNotesController.h"

#include "editor/PcRelAssessment.h"
#include "editor/ui/CertaintySlider.h"

#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {
QSize g_lastContentSize;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The three pairs of flags, each pair under its heading: the key of the flag and its word.
struct FlagPair {
    const char* heading;
    const char* first[2];
    const char* second[2];
};
const FlagPair kFlagPairs[] = {
    { "PcRelEvidence", { "directEvidence", "Direct" }, { "indirectEvidence", "Indirect" } },
    { "PcRelInformation", { "primaryInformation", "Primary" }, { "secondaryInformation", "Secondary" } },
    { "PcRelSource", { "originalSource", "Original" }, { "derivativeSource", "Derivative" } },
};
}

PcRelNotesController::PcRelNotesController(FTPcRel* pcRel, QWidget* parent)
    : RelationshipDialog(parent)
    , m_pcRel(pcRel)
{
    setObjectName(QStringLiteral("PcRelAssessment"));
    setWindowTitle(L("PcRelAssessmentTitle"));
    const FTPerson* child = pcRel ? pcRel->child() : nullptr;
    const FTPerson* parentPerson = pcRel ? pcRel->parent() : nullptr;
    auto* heading = new QLabel(L("PcRelAssessmentHeading")
                                   .arg(child ? child->nameWithBirthAndDeathYears() : QString(),
                                       parentPerson ? parentPerson->nameWithBirthAndDeathYears() : QString()));
    heading->setObjectName(QStringLiteral("heading"));
    heading->setWordWrap(true);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->installEventFilter(this);

    m_certainty = new CertaintySlider;
    m_certainty->setObjectName(QStringLiteral("certainty"));
    connect(m_certainty, &CertaintySlider::chosen, this, [this] { writeCertainty(); });

    auto* flags = new QHBoxLayout;
    for (const FlagPair& pair : kFlagPairs) {
        auto* group = new QGroupBox(L(pair.heading));
        auto* column = new QVBoxLayout(group);
        for (const char* const* flag : { pair.first, pair.second }) {
            auto* box = new QCheckBox(L(flag[1]));
            const QString key = QString::fromLatin1(flag[0]);
            box->setObjectName(key);
            connect(box, &QCheckBox::toggled, this, [this, key](bool on) {
                if (m_pcRel && !m_pcRel->isDeleted() && m_pcRel->evidenceValueForKey(key) != on)
                    m_pcRel->setEvidenceValue(on, key);
            });
            column->addWidget(box);
            m_flags << box;
        }
        flags->addWidget(group);
    }

    QPushButton* help = makeButton("help-browser", "HelpButton", QStringLiteral("helpButton"), [this] { helpForAssessment(); });
    QPushButton* reset = makeButton("document-revert", "ResetToDefaults", QStringLiteral("resetButton"), [this] { resetToDefaults(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addWidget(reset);
    buttons->addStretch();
    buttons->addWidget(makeCloseButton());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(new QLabel(L("AddChildNotes")));
    layout->addWidget(m_notes, 1);
    layout->addWidget(m_certainty);
    layout->addLayout(flags);
    layout->addLayout(buttons);
    resize(520, 400);
    keepSizeIn(&g_lastContentSize);
    load();
}

QSlider* PcRelNotesController::certaintySlider() const
{
    return m_certainty->slider();
}

QCheckBox* PcRelNotesController::flag(const QString& key) const
{
    for (QCheckBox* box : m_flags)
        if (box->objectName() == key)
            return box;
    return nullptr;
}

void PcRelNotesController::load()
{
    const bool live = m_pcRel && !m_pcRel->isDeleted();
    m_notes->setPlainText(live ? m_pcRel->notes() : QString());
    m_certainty->showValue(live ? m_pcRel->certainty() : 0);
    for (QCheckBox* box : std::as_const(m_flags)) {
        const QSignalBlocker block(box);
        box->setChecked(live && m_pcRel->evidenceValueForKey(box->objectName()));
    }
}

void PcRelNotesController::commitNotes()
{
    if (!m_pcRel || m_pcRel->isDeleted())
        return;
    const QString text = m_notes->toPlainText();
    // Empty notes are no notes: nothing is stored for them.
    if (text != m_pcRel->notes() && !(text.isEmpty() && m_pcRel->notes().isNull()))
        m_pcRel->setNotes(text);
}

void PcRelNotesController::writeCertainty()
{
    if (m_pcRel && !m_pcRel->isDeleted() && m_pcRel->certainty() != m_certainty->value())
        m_pcRel->setCertainty(m_certainty->value());
}

bool PcRelNotesController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_notes && event->type() == QEvent::FocusOut)
        commitNotes();
    return RelationshipDialog::eventFilter(watched, event);
}

void PcRelNotesController::helpForAssessment()
{
    Utils::displayMsgWithTitle(
        LocalizedHelpString(QStringLiteral("PcRelInfoTitle")), LocalizedHelpString(QStringLiteral("PcRelInfo")));
}

void PcRelNotesController::resetToDefaults()
{
    if (!m_pcRel || m_pcRel->isDeleted())
        return;
    PcRelAssessment::resetToDefaults(m_pcRel);
    load();
}

bool PcRelNotesController::windowShouldClose()
{
    commitNotes();
    return true;
}
