#include "diagrams/ui/CdEditBox.h"

#include "diagrams/CdPerson.h"
#include "diagrams/NewRelativeEntry.h"
#include "diagrams/ui/CdDiagram.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

CdEditBox::CdEditBox(CdDiagram* pcd)
    : QPlainTextEdit(pcd)
    , m_pcd(pcd)
{
    setObjectName(QStringLiteral("pEditBox"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setContextMenuPolicy(Qt::NoContextMenu);
    setTabChangesFocus(false);
    QFont font = QApplication::font();
    font.setPointSizeF(11);
    setFont(font);
    QPalette p = palette();
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Base, Qt::white);
    setPalette(p);
    document()->setDocumentMargin(2);
    hide();
}

void CdEditBox::activateForCdPerson(CdPerson* box)
{
    setCdPerson(box);
    if (!box)
        return;
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void CdEditBox::setCdPerson(CdPerson* box)
{
    m_cdPerson = box;
    if (!box) {
        hide();
        m_pcd->update();
        return;
    }
    followBox();
    FTMoc* moc = m_pcd->moc();
    const CdPerson* selectedBox =
        moc ? m_pcd->cdLayout().findPerson(moc->modelDefaults()->selectedPerson()) : nullptr;
    m_promptString = NewRelativeEntry::promptString(box, selectedBox);
    setPlainText(m_promptString);
    // Typing replaces the proposal; Tab still picks the gender alone.
    selectAll();
    m_pcd->update();
}

void CdEditBox::followBox()
{
    if (!m_cdPerson)
        return;
    QRectF r = m_cdPerson->rclBox();
    r.setHeight(std::max(r.height(), 25.0));
    setGeometry(r.toAlignedRect());
}

bool CdEditBox::resignFirstResponder()
{
    if (!m_cdPerson)
        return true;
    if (m_leaving)
        return false;
    const QString typed = toPlainText();
    if (typed != m_promptString) {
        m_leaving = true;
        const int answer = Prompts::current().chooseWithTitle(
            L("AddPerson"), QStringLiteral("%1\n\n\"%2\"\n%3").arg(L("AddAlert1"), typed, L("AddAlert2")), QString(),
            {L("Discard"), L("DontDiscard")});
        m_leaving = false;
        if (answer == 1) {
            setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    remove();
    return true;
}

void CdEditBox::remove()
{
    if (!m_cdPerson)
        return;
    const bool leaving = std::exchange(m_leaving, true);
    // The keyboard goes back to the diagram, not to whatever widget follows in the window.
    if (hasFocus())
        m_pcd->setFocus(Qt::OtherFocusReason);
    setCdPerson(nullptr);
    m_leaving = leaving;
    m_pcd->editBoxRemoved();
}

bool CdEditBox::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Tab picks the gender for retyping; back-tab keeps the keyboard here.
        if (key == Qt::Key_Tab) {
            selectGender();
            return true;
        }
        if (key == Qt::Key_Backtab)
            return true;
    }
    return QPlainTextEdit::event(event);
}

void CdEditBox::selectGender()
{
    const QString text = toPlainText();
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0 || comma == text.size() - 1)
        return;
    QTextCursor cursor = textCursor();
    cursor.setPosition(int(comma) + 1);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void CdEditBox::keyPressEvent(QKeyEvent* event)
{
    const QString characters = event->text();
    const int c = characters.isEmpty() ? 0 : characters.at(0).unicode();
    try {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            createPerson();
            return;
        case Qt::Key_Escape:
            // Escape abandons what was typed without a question.
            remove();
            return;
        case Qt::Key_Backspace:
            QPlainTextEdit::keyPressEvent(event);
            m_pcd->update();
            return;
        default:
            QPlainTextEdit::keyPressEvent(event);
            return;
        }
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__,
                                      QStringLiteral("keyDown = 0x%1").arg(c, 2, 16, QLatin1Char('0')).toUpper());
    }
}

void CdEditBox::createPerson()
{
    CdPerson* box = m_cdPerson;
    if (!box)
        return;
    // Read now: the questions and dialogs of the creation may let the diagram rebuild, taking the slot away.
    FTPerson* owner = box->owner() ? box->owner()->person() : nullptr;
    const long kind = box->ancLevel();
    const int pcRelType = box->pcRelType();
    m_leaving = true;
    bool told = false;
    FTPerson* added = NewRelativeEntry::createNewPerson(
        owner, kind, pcRelType, toPlainText(), [this](const QString& text) { setPlainText(text); }, &told);
    m_leaving = false;
    // One alert for a refusal: the one that said why. A cancelled question or a failure is reported here.
    if (!added && !told)
        DisplayMsg(L("FailedCreatePerson"));
    // Made or refused, the box closes without asking.
    remove();
    m_pcd->setRefreshArray(true);
}

void CdEditBox::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // Another window coming to the front (an alert among them) or a menu opening is not leaving the box.
    const Qt::FocusReason reason = event->reason();
    if (!m_cdPerson || m_leaving || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    // Asked once the focus has settled, never from inside the change.
    QTimer::singleShot(0, this, [this] { leaveAfterFocusLoss(); });
}

void CdEditBox::leaveAfterFocusLoss()
{
    if (!m_cdPerson || hasFocus())
        return;
    if (!resignFirstResponder()) {
        window()->activateWindow();
        setFocus(Qt::OtherFocusReason);
    }
}
