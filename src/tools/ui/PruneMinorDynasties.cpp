#include "tools/ui/PruneMinorDynasties.h"

#include "tools/TextListModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/EditorTableView.h"

#include "shell/Utils.h"
#include "shell/ui/QtBackupPanel.h"
#include "shell/ui/WindowProgress.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 11;
// The window shows before the grouping starts.
constexpr int kLoadDelayMs = 1000;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

QTextEdit* makeDescription(const QString& objectName)
{
    auto* view = new QTextEdit;
    view->setObjectName(objectName);
    view->setReadOnly(true);
    QFont font = view->font();
    font.setPointSize(kFontSize);
    view->setFont(font);
    return view;
}
}

PruneMinorDynasties::PruneMinorDynasties(FTMoc* moc, const QString& databasePath, QWidget* parent)
    : QDialog(parent)
    , m_dynasties(moc)
    , m_databasePath(databasePath)
{
    setObjectName(QStringLiteral("PruneMinorDynasties"));
    setWindowTitle(L("PruneTitle"));
    auto* layout = new QVBoxLayout(this);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    m_search = ToolsWindowHelpers::makeSearchField(QStringLiteral("searchField"), L("FindInMainPlaceholder"));
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString& text) { findPerson(text); });
    leftLayout->addWidget(m_search);
    m_mainModel = new TextListModel(L("MainDynastyHeader"), this);
    m_tv1 = ToolsWindowHelpers::makeTextTable(QStringLiteral("tv1"), m_mainModel, false, kFontSize);
    m_tv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_tv1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { mainSelectionChanged(); });
    m_textView1 = makeDescription(QStringLiteral("textView1"));
    auto* leftSplit = new QSplitter(Qt::Vertical);
    leftSplit->addWidget(m_tv1);
    leftSplit->addWidget(m_textView1);
    leftSplit->setStretchFactor(0, 3);
    leftSplit->setStretchFactor(1, 2);
    leftLayout->addWidget(leftSplit, 1);

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("count"));
    m_count->setMinimumHeight(m_search->sizeHint().height());
    rightLayout->addWidget(m_count);
    m_otherModel = new TextListModel(L("MinorDynastiesHeader"), this);
    m_tv2 = ToolsWindowHelpers::makeTextTable(QStringLiteral("tv2"), m_otherModel, true, kFontSize);
    m_tv2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_tv2->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { otherSelectionChanged(); });
    m_textView2 = makeDescription(QStringLiteral("textView2"));
    auto* rightSplit = new QSplitter(Qt::Vertical);
    rightSplit->addWidget(m_tv2);
    rightSplit->addWidget(m_textView2);
    rightSplit->setStretchFactor(0, 3);
    rightSplit->setStretchFactor(1, 2);
    rightLayout->addWidget(rightSplit, 1);
    layout->addWidget(ToolsWindowHelpers::sideBySide(left, right, 1, 1), 1);

    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->hide();
    layout->addWidget(m_progressIndicator);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeHelpButton(
        QStringLiteral("helpForPruneMinorDynasties"), [this] { helpForPruneMinorDynasties(); }));
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("deleteSelectedPeople"),
        L("DeleteSelectedButton"), [this] { deleteSelectedPeople(); }, QStringLiteral("edit-delete")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    resize(820, 560);
}

void PruneMinorDynasties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_timerStarted)
        return;
    m_timerStarted = true;
    QTimer::singleShot(kLoadDelayMs, this, [this] { loadDynasties(); });
}

void PruneMinorDynasties::loadDynasties()
{
    m_progressIndicator->show();
    WindowProgress progress(nullptr, m_progressIndicator);
    m_dynasties.loadDynasties(&progress);
    m_progressIndicator->hide();
    m_loaded = true;
    showMain();
    showOthers();
}

void PruneMinorDynasties::showMain()
{
    m_shownMain = m_dynasties.findPerson(m_search->text());
    QStringList names;
    names.reserve(m_shownMain.size());
    for (const FTPerson* p : std::as_const(m_shownMain))
        names << p->nameWithBirthAndDeathYears();
    m_mainModel->setTexts(names);
    m_textView1->clear();
}

void PruneMinorDynasties::showOthers()
{
    QStringList texts;
    for (const MinorDynasties::Row& row : m_dynasties.rows())
        texts << (row.person ? row.person->nameWithBirthAndDeathYears() : row.text);
    m_otherModel->setTexts(texts);
    m_count->setText(QStringLiteral("%1 %2").arg(L("MinorPeopleCount")).arg(m_dynasties.numOtherPeople()));
    m_textView2->clear();
    if (!texts.isEmpty())
        selectRows({0});
}

void PruneMinorDynasties::findPerson(const QString&)
{
    if (m_loaded)
        showMain();
}

void PruneMinorDynasties::selectRows(const QList<int>& rows)
{
    QItemSelection selection;
    for (const int row : rows)
        selection.select(m_otherModel->index(row, 0), m_otherModel->index(row, 0));
    m_tv2->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void PruneMinorDynasties::mainSelectionChanged()
{
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_tv1);
    const FTPerson* person = rows.size() == 1 ? m_shownMain.value(rows.first()) : nullptr;
    m_textView1->setHtml(person ? person->attributedDescription() : QString());
}

void PruneMinorDynasties::otherSelectionChanged()
{
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_tv2);
    if (rows.size() > 1) {
        m_textView2->setPlainText(m_dynasties.selectionSummary(rows));
        return;
    }
    m_textView2->clear();
    if (rows.size() == 1 && rows.first() < m_dynasties.rows().size())
        if (const FTPerson* person = m_dynasties.rows()[rows.first()].person)
            m_textView2->setHtml(person->attributedDescription());
}

void PruneMinorDynasties::deleteSelectedPeople()
{
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_tv2);
    m_progressIndicator->show();
    WindowProgress progress(nullptr, m_progressIndicator);
    QtBackupPanel panel;
    const int deleted = m_dynasties.deleteSelectedPeople(
        rows, m_databasePath, m_backupPanel ? m_backupPanel : &panel, &progress);
    m_progressIndicator->hide();
    if (deleted > 0) {
        showMain();
        showOthers();
    }
}

void PruneMinorDynasties::helpForPruneMinorDynasties()
{
    Utils::displayMsgWithTitle(LocalizedHelpString(QStringLiteral("PruneDynastiesTitle")),
                               LocalizedHelpString(QStringLiteral("PruneDynastiesHelp")));
}

void PruneMinorDynasties::close()
{
    if (FTMoc* moc = m_dynasties.moc())
        moc->saveMoc();
    done(0);
}
