#include "tools/ui/TodoAdd.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

TodoAdd::TodoAdd(FTPerson* person, QWidget* parent)
    : QDialog(parent)
    , m_moc(person ? person->moc() : nullptr)
    , m_person(person)
{
    setObjectName(QStringLiteral("TodoAdd"));
    setWindowTitle(L("TodoAddTitle"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(
        QStringLiteral("%1 %2").arg(L("TodoFor"), person ? person->nameWithBirthAndDeathYears() : QString()));
    heading->setObjectName(QStringLiteral("heading"));
    heading->setWordWrap(true);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    m_textView = new QPlainTextEdit;
    m_textView->setObjectName(QStringLiteral("textView"));
    m_textView->setPlainText(person ? person->todo() : QString());
    layout->addWidget(m_textView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("clear"), L("ClearTextButton"), [this] { clear(); }, QStringLiteral("edit-clear")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);
    SourcesWindowHelpers::usePanelColour(this);
    resize(460, 300);
    m_textView->setFocus();
}

void TodoAdd::clear() { m_textView->clear(); }

void TodoAdd::close()
{
    if (m_person && !m_person->isDeleted() && m_person->todo() != m_textView->toPlainText().trimmed()) {
        m_person->setTodo(m_textView->toPlainText());
        if (m_moc)
            m_moc->saveMoc();
    }
    done(0);
}
