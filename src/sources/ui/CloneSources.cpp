#include "sources/ui/CloneSources.h"

#include "sources/SourceListModel.h"
#include "sources/ui/OtherDatabaseChooser.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/DisplayMsg.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 11;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

CloneSources::CloneSources(FTMoc* targetMoc, QWidget* parent)
    : QDialog(parent)
    , m_targetMoc(targetMoc)
{
    setObjectName(QStringLiteral("CloneSources"));
    setWindowTitle(L("CloneSourcesTitle"));
    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(L("CloneSourcesInfo"));
    info->setWordWrap(true);
    layout->addWidget(info);

    m_chooser = new OtherDatabaseChooser(targetMoc);
    layout->addWidget(m_chooser);

    m_sources = new SourceListModel(nullptr, this);
    m_tv = SourcesWindowHelpers::makeListTable(QStringLiteral("tv"), m_sources, true, kFontSize);
    m_sources->setFont(m_tv->font());
    QHeaderView* header = m_tv->horizontalHeader();
    header->resizeSection(SourceListModel::NumberColumn, 60);
    header->resizeSection(SourceListModel::TypeColumn, 130);
    header->resizeSection(SourceListModel::ShortTitleColumn, 120);
    header->resizeSection(SourceListModel::AuthorColumn, 120);
    header->resizeSection(SourceListModel::CitationsColumn, 80);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(SourceListModel::TitleColumn, QHeaderView::Stretch);
    layout->addWidget(m_tv, 1);
    connect(m_chooser, &OtherDatabaseChooser::databaseChanged, this, [this](FTMoc* other) {
        m_sources->setMoc(other);
        m_sources->sortByNumber();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("cloneSelectedSources"), L("CloneSelectedSources"), [this] { cloneSelectedSources(); },
        QStringLiteral("edit-copy")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    resize(820, 520);
}

CloneSources::~CloneSources()
{
    m_sources->setMoc(nullptr);
}

FTMoc* CloneSources::sourceMoc() const
{
    return m_chooser->otherMoc();
}

QList<FTSource*> CloneSources::selectedSources() const
{
    return SourcesWindowHelpers::selectedSources(m_tv, m_sources);
}

SourceCloner::Result CloneSources::cloneSelectedSources()
{
    const QList<FTSource*> selected = selectedSources();
    if (selected.isEmpty()) {
        DisplayMsg(L("SelectSources"));
        return {};
    }
    SourceCloner cloner(m_targetMoc);
    const SourceCloner::Result result = cloner.cloneSources(selected);
    DisplayMsg(SourceCloner::reportText(result));
    return result;
}

void CloneSources::close()
{
    done(0);
}

void CloneSources::done(int result)
{
    // The other database is let go of as the window closes, so that it may be opened again at once.
    m_chooser->closeDatabase();
    QDialog::done(result);
}
