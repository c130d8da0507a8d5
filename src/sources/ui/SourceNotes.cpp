#include "sources/ui/SourceNotes.h"

#include "sources/ui/SelectSourceNotesLabelsButton.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "model/FTSource.h"

#include "shell/ui/SpellCheckHighlighter.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

const QString SourceNotes::kFrameName = QStringLiteral("SourceNotesDialog");

SourceNotes::SourceNotes(FTSource* source, QWidget* parent)
    : QDialog(parent)
    , m_source(source)
{
    setObjectName(QStringLiteral("SourceNotes"));
    setWindowTitle(LocalizedString(QStringLiteral("SourceNotesWindowTitle")).arg(source->numericId()));
    SourcesWindowHelpers::usePanelColour(this);

    auto* layout = new QVBoxLayout(this);
    m_tvNotes = new QTextEdit;
    m_tvNotes->setObjectName(QStringLiteral("tvNotes"));
    m_tvNotes->setAcceptRichText(false);
    m_tvNotes->setPlainText(source->notes());
    layout->addWidget(m_tvNotes);

    auto* buttons = new QHBoxLayout;
    m_labelsButton = new SelectSourceNotesLabelsButton;
    m_labelsButton->setDelegate(this);
    buttons->addWidget(m_labelsButton);
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("spellCheck"), LocalizedString(QStringLiteral("CheckSpelling")), [this] { spellCheck(); },
        QStringLiteral("tools-check-spelling")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("close"), LocalizedString(QStringLiteral("Close")), [this] { windowShouldClose(); }));
    layout->addLayout(buttons);

    resize(620, 460);
    if (const QString frame = UserDefaults::standard().stringForKey(kFrameName); !frame.isEmpty())
        restoreGeometry(QByteArray::fromBase64(frame.toLatin1()));
    else if (parent)
        move(parent->window()->geometry().center() - rect().center());
}

void SourceNotes::spellCheck()
{
    SpellCheckHighlighter::checkSpelling(m_tvNotes);
}

void SourceNotes::windowShouldClose()
{
    if (m_closed)
        return;
    m_closed = true;
    const QString notes = m_tvNotes->toPlainText();
    if (notes != m_source->notes())
        m_source->setNotes(notes.isEmpty() ? QString() : notes);
    UserDefaults::standard().setString(kFrameName, QString::fromLatin1(saveGeometry().toBase64()));
    done(0);
}

void SourceNotes::reject()
{
    windowShouldClose();
}
