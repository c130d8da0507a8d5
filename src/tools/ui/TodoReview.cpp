#include "tools/ui/TodoReview.h"

#include "tools/TextListModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/EditorTableView.h"

#include "shell/DisplayMsg.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 11;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

TodoReview::TodoReview(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_todos(moc)
{
    setObjectName(QStringLiteral("TodoReview"));
    setWindowTitle(L("TodoReviewTitle"));
    auto* layout = new QVBoxLayout(this);
    m_model = new TextListModel(L("TodoPeopleHeader"), this);
    m_tv = ToolsWindowHelpers::makeTextTable(QStringLiteral("tv_people"), m_model, true, kFontSize);
    m_tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_tv->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { showNote(); });
    m_note = new QTextEdit;
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setReadOnly(true);
    QFont font = m_note->font();
    font.setPointSize(kFontSize);
    m_note->setFont(font);
    layout->addWidget(ToolsWindowHelpers::sideBySide(m_tv, m_note, 1, 1), 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("delete"), L("ClearTextButton"), [this] { remove(); }, QStringLiteral("edit-delete")));
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("printAll"), L("PrintAllButton"), [this] { printAll(); }, QStringLiteral("document-print")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);
    SourcesWindowHelpers::usePanelColour(this);
    resize(640, 420);
    loadPeopleArray();
}

void TodoReview::loadPeopleArray()
{
    m_todos.loadPeopleArray();
    QStringList names;
    for (const FTPerson* p : m_todos.people())
        names << p->nameWithBirthAndDeathYears();
    m_model->setTexts(names);
    if (!names.isEmpty())
        selectRows({0});
    showNote();
}

void TodoReview::selectRows(const QList<int>& rows)
{
    QItemSelection selection;
    for (const int row : rows)
        selection.select(m_model->index(row, 0), m_model->index(row, 0));
    m_tv->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TodoReview::showNote()
{
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_tv);
    const FTPerson* person = rows.size() == 1 ? m_todos.people().value(rows.first()) : nullptr;
    m_note->setPlainText(person ? person->todo() : QString());
}

void TodoReview::remove()
{
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_tv);
    if (rows.size() != 1) {
        DisplayMsg(L("SelectPersonTryAgain"));
        return;
    }
    m_todos.remove(m_todos.people().value(rows.first()));
    QStringList names;
    for (const FTPerson* p : m_todos.people())
        names << p->nameWithBirthAndDeathYears();
    m_model->setTexts(names);
    if (!names.isEmpty())
        selectRows({std::min(rows.first(), int(names.size()) - 1)});
    showNote();
}

void TodoReview::printAll() { m_todos.printAll(); }

void TodoReview::close()
{
    if (m_moc)
        m_moc->saveMoc();
    done(0);
}
