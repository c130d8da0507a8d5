#include "editor/ui/NotesWindow.h"

#include "editor/ui/NotesTextEdit.h"

#include "shell/UtilsFunctions.h"
#include "shell/ui/SpellCheckHighlighter.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>

NotesWindow::NotesWindow(QWidget* parent)
    : QDialog(parent)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    m_heading = new QLabel;
    m_heading->setObjectName(QStringLiteral("notesTitle"));
    m_heading->setWordWrap(true);
    m_heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_tabView = new QTabWidget;
    m_tabView->setObjectName(QStringLiteral("tabView"));
    // Leaving a tab writes what was typed there, so the marks of the tabs are right.
    connect(m_tabView, &QTabWidget::currentChanged, this, [this] {
        commitEditing();
        setTabViewLabels();
    });

    auto* spelling = new QPushButton(themeIcon(QStringLiteral("tools-check-spelling")),
                                     LocalizedString(QStringLiteral("CheckSpelling")));
    spelling->setObjectName(QStringLiteral("checkSpelling"));
    spelling->setAutoDefault(false);
    connect(spelling, &QPushButton::clicked, this, [this] { checkSpelling(); });
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("searchField"));
    m_search->setPlaceholderText(LocalizedString(QStringLiteral("FindInNotes")));
    m_search->setClearButtonEnabled(true);
    m_search->addAction(themeIcon(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    m_search->setMaximumWidth(220);
    connect(m_search, &QLineEdit::returnPressed, this, [this] { find(); });
    auto* close = new QPushButton(LocalizedString(QStringLiteral("Close")));
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(false);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(spelling);
    buttons->addWidget(m_search);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_tabView, 1);
    layout->addLayout(buttons);
    resize(560, 440);

    // The same notes may be written from another window (the person editor, another notes window) or taken back
    // by Undo: a tab nobody typed in shows them, so that closing it later writes nothing stale.
    for (const char* name : {"NotesOrCommentsChanged", "RefreshAllViews"})
        NotificationCenter::defaultCenter().addObserver(
            QString::fromLatin1(name), nullptr,
            [this](const Notification& n) {
                if (m_moc && (n.context == m_moc || !n.context))
                    showStoredTexts();
            },
            this);
}

NotesWindow::~NotesWindow()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

void NotesWindow::addTab(const QString& identifier, const QString& objectName, std::function<QString()> read,
                         std::function<void(const QString&)> write)
{
    auto* text = new NotesTextEdit;
    text->setObjectName(objectName);
    text->setPointSize(long(UserDefaults::standard().doubleForKey(QStringLiteral("fontSize"))) + 1);
    text->commit = [this, write = std::move(write)](const QString& value) {
        write(value);
        if (m_moc)
            m_moc->deferredSave();
    };
    m_tabs << Tab{identifier, text, std::move(read)};
    const QSignalBlocker block(m_tabView);
    m_tabView->addTab(text, QString());
}

void NotesWindow::setHeading(const QString& windowTitle, const QString& heading)
{
    setWindowTitle(windowTitle);
    m_heading->setText(heading);
}

void NotesWindow::load(const QString& initial)
{
    int index = 0;
    for (int i = 0; i < m_tabs.size(); ++i) {
        m_tabs[i].text->setValue(m_tabs[i].read());
        if (m_tabs[i].identifier == initial)
            index = i;
    }
    setTabViewLabels();
    {
        const QSignalBlocker block(m_tabView);
        m_tabView->setCurrentIndex(index);
    }
    m_tabs[index].text->setFocus();
}

void NotesWindow::showStoredTexts()
{
    for (const Tab& tab : m_tabs)
        tab.text->showStored(tab.read());
    setTabViewLabels();
}

NotesTextEdit* NotesWindow::textView(const QString& identifier) const
{
    for (const Tab& tab : m_tabs)
        if (tab.identifier == identifier)
            return tab.text;
    return nullptr;
}

QString NotesWindow::notesTitle() const
{
    return m_heading->text();
}

int NotesWindow::present(Presentation how, QWidget* window)
{
    m_isSheet = how == Sheet;
    switch (how) {
    case Sheet:
        setParent(window, windowFlags() | Qt::Sheet);
        setWindowModality(Qt::WindowModal);
        setAttribute(Qt::WA_DeleteOnClose);
        connect(this, &QDialog::finished, this, &QObject::deleteLater);
        open();
        return 0;
    case ChildWindow:
        setParent(window, Qt::Tool);
        setWindowModality(Qt::NonModal);
        setAttribute(Qt::WA_DeleteOnClose);
        connect(this, &QDialog::finished, this, &QObject::deleteLater);
        show();
        raise();
        return 0;
    case Modal:
        if (window)
            setParent(window, Qt::Dialog);
        return exec();
    }
    return 0;
}

void NotesWindow::checkSpelling()
{
    if (auto* text = qobject_cast<NotesTextEdit*>(m_tabView->currentWidget()))
        SpellCheckHighlighter::checkSpelling(text);
}

void NotesWindow::find()
{
    auto* text = qobject_cast<NotesTextEdit*>(m_tabView->currentWidget());
    const QString wanted = m_search->text();
    if (!text || wanted.isEmpty())
        return;
    if (!text->find(wanted)) {
        // From the start again after the last one.
        QTextCursor start = text->textCursor();
        start.movePosition(QTextCursor::Start);
        text->setTextCursor(start);
        text->find(wanted);
    }
}

void NotesWindow::commitEditing()
{
    for (const Tab& tab : m_tabs)
        tab.text->endEditing();
}

void NotesWindow::abandonOwner()
{
    // Closing writes what was typed; with the records dropped first there is nothing left to write into.
    freeMemory();
    close();
}

void NotesWindow::done(int result)
{
    if (m_done) {
        QDialog::done(result);
        return;
    }
    m_done = true;
    commitEditing();
    freeMemory();
    // A sheet's end is its opener's business.
    if (!m_isSheet)
        NotificationCenter::defaultCenter().post(closedNotification(), this);
    QDialog::done(result);
}
