#include "sources/ui/PictureSourceReferences.h"

#include "sources/CitationTableModel.h"
#include "sources/ui/CitationPanes.h"
#include "sources/ui/CitationTableView.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SourcesAddModDel.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/DisplayMsg.h"

#include "model/FTMoc.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QSize g_prevSize;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QSize PictureSourceReferences::prevSize()
{
    return g_prevSize;
}

void PictureSourceReferences::setPrevSize(const QSize& size)
{
    g_prevSize = size;
}

PictureSourceReferences::PictureSourceReferences(FTPicture* picture, QWidget* parent)
    : QDialog(parent)
    , m_picture(picture)
    , m_moc(picture ? picture->moc() : nullptr)
{
    setObjectName(QStringLiteral("PictureSourceReferences"));
    setWindowTitle(L("PictureCitationsTitle"));
    m_model = new CitationTableModel(
        { CitationTableModel::SourceId, CitationTableModel::SourceDescription, CitationTableModel::PageRef,
            CitationTableModel::Topic },
        this);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(L("PictureCitationsHeading").arg(picture ? picture->name() : QString()));
    heading->setObjectName(QStringLiteral("heading"));
    heading->setWordWrap(true);
    layout->addLayout(CitationPanes::makeHeadingRow(heading, [this] { refreshDisplay(); }, false));

    m_tv = new CitationTableView(m_model);
    m_tv->setObjectName(QStringLiteral("sourceRelsTableView"));
    m_tv->horizontalHeader()->resizeSection(m_model->sectionOf(CitationTableModel::SourceId), 44);
    m_tv->horizontalHeader()->resizeSection(m_model->sectionOf(CitationTableModel::SourceDescription), 260);
    m_tv->horizontalHeader()->resizeSection(m_model->sectionOf(CitationTableModel::PageRef), 120);
    m_tv->editSource = [this] { editSource(); };
    layout->addWidget(m_tv, 1);

    auto* bottom = new QHBoxLayout;
    m_selectASourceButton
        = CitationPanes::makeCiteASourceButton(m_moc, static_cast<SelectASourceDelegate*>(this), L("CiteASourceTip"));
    bottom->addWidget(m_selectASourceButton);
    bottom->addStretch();
    bottom->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(bottom);
    SourcesWindowHelpers::usePanelColour(this);

    resize(640, 320);
    if (g_prevSize.width() > kMinRememberedWidth)
        resize(g_prevSize);
    loadSourceRels();
    // The list follows the picture's citations as a bound list would: one deleted in the picture's citation sheet
    // leaves it.
    NotificationCenter::defaultCenter().addObserver(
        QStringLiteral("SourceRelToBeDeleted"), nullptr,
        [this](const Notification& n) {
            if (m_moc && n.context == m_moc)
                m_model->removeCitation(static_cast<const FTSourceRel*>(n.object));
        },
        this);
}

PictureSourceReferences::~PictureSourceReferences()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

void PictureSourceReferences::loadSourceRels()
{
    m_model->setCitations(m_picture ? m_picture->sourceRels() : QList<FTSourceRel*>());
}

void PictureSourceReferences::addReference(FTSource* source)
{
    if (!m_picture || !source)
        return;
    if (FTSourceRel* citation = m_picture->addReferenceToSource(source)) {
        m_model->addCitation(citation);
        refreshDisplay();
    }
}

void PictureSourceReferences::editSource()
{
    CitationPanes::editSelectedSource(m_tv, m_moc, this, [this] { refreshDisplay(); });
}

void PictureSourceReferences::showAllFields()
{
    CitationTableModel::showSourceFields(true);
    refreshDisplay();
}

void PictureSourceReferences::showTitleOnly()
{
    CitationTableModel::showSourceFields(false);
    refreshDisplay();
}

void PictureSourceReferences::refreshDisplay()
{
    m_tv->refreshDisplay();
}

void PictureSourceReferences::close()
{
    if (m_closing)
        return;
    if (!m_tv->endEditing())
        return;
    m_closing = true;
    g_prevSize = size();
    done(0);
}

void PictureSourceReferences::reject()
{
    close();
}
