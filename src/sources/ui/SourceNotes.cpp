#include "sources/ui/SourceNotes.h"

#include "sources/ui/SelectSourceNotesLabelsButton.h"

#include "model/FTSource.h"

#include "shell/UtilsFunctions.h"
#include "shell/ui/SpellCheckHighlighter.h"
#include "shell/ui/ThemeIcon.h"

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
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

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
    auto* spelling = new QPushButton(themeIcon(QStringLiteral("tools-check-spelling")),
        LocalizedString(QStringLiteral("CheckSpelling")));
    spelling->setObjectName(QStringLiteral("spellCheck"));
    spelling->setAutoDefault(false);
    connect(spelling, &QPushButton::clicked, this, [this] { spellCheck(); });
    buttons->addWidget(spelling);
    buttons->addStretch();
    auto* close = new QPushButton(LocalizedString(QStringLiteral("Close")));
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] { windowShouldClose(); });
    buttons->addWidget(close);
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
