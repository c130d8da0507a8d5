#include "tools/ui/TextsAndEventsWindow.h"

#include "tools/EventsByDateModel.h"
#include "tools/PlacesEditing.h"
#include "tools/TextListModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/EditorTableView.h"

#include "shell/DisplayMsg.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QSplitter>
#include <QTimer>

TextsAndEventsWindow::TextsAndEventsWindow(
    FTMoc* moc, const QString& objectName, const QString& title, QSize* prevSize, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_prevSize(prevSize)
{
    setObjectName(objectName);
    setWindowTitle(title);
}

QSplitter* TextsAndEventsWindow::makePanes(const Panes& panes, std::function<void(int, const QString&)> rename)
{
    m_textsModel = new TextListModel(panes.header, this);
    m_textsModel->rename = [this, rename = std::move(rename)](int row, const QString& typed) {
        // After the edit has closed: the rename may ask and tell, and lists the texts again.
        QTimer::singleShot(0, this, [rename, row, typed] { rename(row, typed); });
        return true;
    };
    m_texts = ToolsWindowHelpers::makeTextTable(panes.textsName, m_textsModel, panes.severalTexts, panes.pointSize);
    m_eventsModel = new EventsByDateModel(this);
    m_events = ToolsWindowHelpers::makeEventsTable(
        panes.eventsName, m_eventsModel, panes.pointSize, panes.checksBirthOwner);
    return ToolsWindowHelpers::sideBySide(m_texts, m_events, panes.textsShare, panes.eventsShare);
}

void TextsAndEventsWindow::finishSetUp(const QSize& defaultSize)
{
    SourcesWindowHelpers::usePanelColour(this);
    resize(defaultSize);
    if (m_prevSize->width() > 0)
        resize(*m_prevSize);
}

void TextsAndEventsWindow::makeOwnerFocal(FTEvent* event)
{
    if (!event) {
        DisplayMsg(LocalizedString(QStringLiteral("SelectEventTryAgain")));
        return;
    }
    FTPerson* person = PlacesEditing::personForEvent(event);
    if (!person || !m_moc)
        return;
    m_moc->setFocalPerson(person);
    done(0);
}

void TextsAndEventsWindow::done(int result)
{
    if (isVisible()) {
        m_texts->endEditing();
        m_events->endEditing();
        if (m_moc)
            m_moc->saveMoc();
        *m_prevSize = size();
    }
    QDialog::done(result);
}
