#include "editor/PcRelTypeChoice.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/Inconsistency.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QCborMap>
#include <QColor>
#include <QFont>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString parentWord(const FTPerson* parent)
{
    return parent && parent->gender() == L("MaleShort") ? L("father") : L("mother");
}
}

PcRelTypeChoice::PcRelTypeChoice(FTPerson* parent, FTPerson* child)
    : m_parent(parent)
    , m_child(child)
{
    if (child && parent) {
        for (FTPcRel* link : child->parentRels()) {
            if (link->parent() == parent && link->child() == child) {
                m_pcRel = link;
                m_pcRelType = link->intPcRelType();
                break;
            }
        }
    }
    m_initialRow = m_row = rowForType(m_pcRelType);
}

int PcRelTypeChoice::rowForType(int type)
{
    switch (type) {
    case FTPcRel::kNatural:
        return Natural;
    case FTPcRel::kStep:
        return Step;
    case FTPcRel::kAdopted:
        return Adopted;
    case FTPcRel::kFoster:
        return Foster;
    default:
        return NotRelated;
    }
}

int PcRelTypeChoice::typeForRow(int row)
{
    switch (row) {
    case NotRelated:
        return 0;
    case Natural:
        return FTPcRel::kNatural;
    case Step:
        return FTPcRel::kStep;
    case Adopted:
        return FTPcRel::kAdopted;
    case Foster:
        return FTPcRel::kFoster;
    default:
        return -1;
    }
}

FTPerson* PcRelTypeChoice::otherNaturalParent() const
{
    if (!m_child || !m_parent)
        return nullptr;
    for (FTPcRel* link : m_child->parentRels()) {
        FTPerson* other = link->parent();
        if (link->intPcRelType() == FTPcRel::kNatural && other && other != m_parent
            && other->cGender() == m_parent->cGender())
            return other;
    }
    return nullptr;
}

bool PcRelTypeChoice::isRowEnabled(int row) const
{
    return row >= 0 && row < RowCount && (row != Natural || !otherNaturalParent());
}

QStringList PcRelTypeChoice::rowTitles() const
{
    const QString word = parentWord(m_parent);
    auto title = [&](const char* kind) { return QStringLiteral(" %1 %2 %3").arg(L(kind), word, L("ConjunctiveOf")); };
    QStringList titles { L("notRelatedTo"), title("Natural"), title("Step"), title("Adopted"), title("Foster") };
    if (FTPerson* other = otherNaturalParent())
        titles[Natural] = QStringLiteral("( ") + m_child->name() + QLatin1Char('\'') + L("possessiveSuffix")
            + QLatin1Char(' ') + L("Natural") + QLatin1Char(' ') + word + L("was") + QLatin1Char(' ') + other->name()
            + QStringLiteral(" )");
    return titles;
}

bool PcRelTypeChoice::hasStoredCertainty() const
{
    if (!m_pcRel)
        return false;
    const QCborValue stored = m_pcRel->extraDataMap().value(QStringLiteral("certainty"));
    return stored.isInteger() && stored.toInteger() != FTPcRel::kCertaintyNotSet;
}

QString PcRelTypeChoice::reasonForUncertainty() const
{
    QTextDocument document;
    // The text in the face and size of its headings.
    QFont font = document.defaultFont();
    font.setFamilies({ QStringLiteral("Arial") });
    font.setPointSize(12);
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    const QTextCharFormat plain;
    auto heading = [&](const QString& text, const QColor& colour) {
        QTextCharFormat format;
        format.setFontFamilies({ QStringLiteral("Arial") });
        format.setFontPointSize(12);
        format.setFontUnderline(true);
        format.setForeground(colour);
        cursor.insertText(text, format);
    };
    const QColor black(0, 0, 0);
    heading(L("Inconsistencies") + QLatin1Char('\n'), black);
    cursor.insertText(QStringLiteral("\n"), plain);
    const QList<Inconsistency> reasons = m_pcRel ? m_pcRel->reasonsForUncertainty() : QList<Inconsistency>();
    if (reasons.isEmpty())
        cursor.insertText(L("NoInconFound"), plain);
    for (const Inconsistency& reason : reasons)
        cursor.insertText(reason.reason() + QStringLiteral("\n\n"), plain);

    heading(L("RelNotes") + QStringLiteral("\n\n"), black);
    const QString notes = m_pcRel ? m_pcRel->notes() : QString();
    QString text = notes.isNull() ? L("None") : notes;
    const QString evidence = m_pcRel ? m_pcRel->evidenceAsString() : QString();
    if (!evidence.isEmpty())
        text += QStringLiteral("\n\n") + evidence;
    cursor.insertText(text + QStringLiteral("\n\n"), plain);

    // The two people in the colours the diagrams give parent and child, their own styling left out.
    const std::pair<const char*, const FTPerson*> people[] = { { "Parent", m_parent }, { "Child", m_child } };
    for (const auto& [key, person] : people) {
        const QColor colour = person == m_parent ? QColor(220, 0, 0) : QColor(0, 0, 220);
        heading(L(key) + QStringLiteral("\n\n"), colour);
        QTextCharFormat coloured;
        coloured.setForeground(colour);
        cursor.insertText(
            (person ? person->nameWithBirthMarriageAndDeathInfoPlusNotesAndComments() : QString())
                + QStringLiteral("\n\n"),
            coloured);
    }
    return document.toHtml();
}

bool PcRelTypeChoice::save()
{
    const int code = typeForRow(m_row);
    if (code < 0)
        return false;
    if (m_row == m_initialRow || code == m_pcRelType || !m_parent || !m_child)
        return true;
    FTMoc* moc = m_parent->moc();
    if (code != 0) {
        if (m_pcRel)
            m_pcRel->setPcRelType(code);
        else
            m_pcRel = m_parent->attachChild(m_child, code, true, nullptr);
    } else if (m_pcRel) {
        m_pcRel->setPcRelType(0);
        if (FTMocUndoManager* undo = moc->undoManager())
            undo->setActionName(L("DeletePCRel"));
        moc->deleteObject(m_pcRel);
        m_pcRel = nullptr;
    }
    m_pcRelType = code;
    m_initialRow = m_row;
    NotificationCenter::defaultCenter().post(QStringLiteral("PCRelTypeChanged"), moc, moc);
    return true;
}
