#include "sources/ui/SourceReferenceDialog.h"

#include "sources/ui/ReviewSourceReferences.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/NotesTextEdit.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
QString LH(const char* key)
{
    return LocalizedHelpString(QString::fromLatin1(key));
}
}

SourceReferenceDialog::SourceReferenceDialog(Kind kind, FTSourceRel* citation, QWidget* parent)
    : QDialog(parent)
    , m_model(kind, citation)
{
    const CitationSheetModel::KindData& data = CitationSheetModel::kindData(kind);
    setObjectName(QString::fromLatin1(data.windowName));
    setWindowTitle(citation ? citation->nameForSourceRefDialog() : L("SourceRelDialogTitle"));

    auto* layout = new QVBoxLayout(this);
    m_heading = new QLabel(m_model.heading());
    m_heading->setObjectName(QStringLiteral("heading"));
    m_heading->setWordWrap(true);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    layout->addWidget(m_heading);

    auto* sourceRow = new QHBoxLayout;
    m_sourceLabel = SourcesWindowHelpers::makeSourceLabel(QStringLiteral("sourceDescription"));
    sourceRow->addWidget(m_sourceLabel, 1);
    m_selectASourceButton = new SelectASourceButton;
    m_selectASourceButton->setText(L("ChangeCitedSource"));
    m_selectASourceButton->setToolTip(L("ChangeCitedSourceTip"));
    m_selectASourceButton->setMoc(citation ? citation->moc() : nullptr);
    m_selectASourceButton->setDelegate(static_cast<SelectASourceDelegate*>(this));
    sourceRow->addWidget(m_selectASourceButton, 0, Qt::AlignTop);
    layout->addLayout(sourceRow);

    auto* form = new QFormLayout;
    auto* pageRow = new QHBoxLayout;
    m_pageRefField = new QLineEdit;
    m_pageRefField->setObjectName(QStringLiteral("pageRefField"));
    m_pageRefField->setText(citation ? citation->reference() : QString());
    connect(m_pageRefField, &QLineEdit::editingFinished, this, [this] { endEditing(); });
    pageRow->addWidget(m_pageRefField, 1);
    m_samePageRefBox = new QCheckBox(L("SamePageRefAsPrevious"));
    m_samePageRefBox->setObjectName(QStringLiteral("samePageRefAsPrevious"));
    connect(m_samePageRefBox, &QCheckBox::clicked, this, [this](bool on) { useSamePageRefAsPrevious(on); });
    pageRow->addWidget(m_samePageRefBox);
    form->addRow(L("CitationPageRefLabel"), pageRow);

    auto* topicRow = new QHBoxLayout;
    const QStringList words = m_model.topicWords();
    for (int i = 0; i < 3; ++i) {
        auto* box = new QCheckBox(words[i]);
        box->setObjectName(QStringLiteral("topic%1").arg(i));
        box->setChecked(m_model.topicFlag(i));
        connect(box, &QCheckBox::clicked, this, [this, i](bool on) { changeTopic(i, on); });
        m_topicBoxes[size_t(i)] = box;
        topicRow->addWidget(box);
    }
    topicRow->addStretch();
    form->addRow(L("CitationTopicLabel"), topicRow);
    m_topicLabel = new QLabel;
    m_topicLabel->setObjectName(QStringLiteral("topic"));
    m_topicLabel->setWordWrap(true);
    form->addRow(QString(), m_topicLabel);

    m_notes = new NotesTextEdit;
    m_notes->setObjectName(QStringLiteral("notesTextView"));
    m_notes->setValue(citation ? citation->notes() : QString());
    m_notes->commit = [this](const QString& text) {
        if (FTSourceRel* c = m_model.sourceRel(); c && !m_model.isDeleted() && c->notes() != text)
            c->setNotes(text);
    };
    form->addRow(L("CitationNotesLabel"), m_notes);
    layout->addLayout(form, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeHelpButton(
        QString::fromLatin1(data.helpAction), [this] { helpForSourceReference(); }));
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("deleteSourceReference"),
        L("DeleteCitationButton"), [this] { deleteSourceReference(); }, QStringLiteral("edit-delete")));
    QPushButton* others = SourcesWindowHelpers::makeButton(QStringLiteral("displayOtherReferences"),
        L("DisplayOtherReferencesButton"), [this] { displayOtherReferences(); });
    others->setToolTip(L("DisplayOtherReferencesTip"));
    buttons->addWidget(others);
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    showSource();
    showTopic();
    resize(560, 400);
    if (const QSize remembered = CitationSheetModel::prevSize(kind); remembered.width() > kMinRememberedWidth)
        resize(remembered);
}

SourceReferenceDialog::~SourceReferenceDialog() = default;

QString SourceReferenceDialog::heading() const
{
    return m_heading->text();
}

void SourceReferenceDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_pageRefField->setFocus();
}

void SourceReferenceDialog::showSource()
{
    const FTSource* source = m_model.source();
    m_sourceLabel->setText(source ? source->shortDescriptionWithNumericId() : QString());
}

void SourceReferenceDialog::showTopic()
{
    const FTSourceRel* citation = m_model.sourceRel();
    m_topicLabel->setText(citation && !m_model.isDeleted() ? citation->itemDescribed() : QString());
}

void SourceReferenceDialog::addReference(FTSource* source)
{
    m_model.addReference(source);
    showSource();
}

void SourceReferenceDialog::changeTopic(int box, bool on)
{
    if (QCheckBox* check = m_topicBoxes.at(size_t(box)); check->isChecked() != on)
        check->setChecked(on);
    m_model.setTopicFlag(box, on);
    showTopic();
}

void SourceReferenceDialog::useSamePageRefAsPrevious(bool on)
{
    if (m_samePageRefBox->isChecked() != on)
        m_samePageRefBox->setChecked(on);
    m_model.useSamePageRefAsPrevious(on);
    if (const FTSourceRel* citation = m_model.sourceRel())
        m_pageRefField->setText(citation->reference());
}

void SourceReferenceDialog::deleteSourceReference()
{
    m_model.deleteSourceReference();
    close();
}

void SourceReferenceDialog::displayOtherReferences()
{
    endEditing();
    const FTSourceRel* citation = m_model.sourceRel();
    FTMoc* moc = citation ? citation->moc() : nullptr;
    if (moc && m_model.source())
        ReviewSourceReferences::run(moc, nullptr, m_model.source(), this);
}

void SourceReferenceDialog::helpForSourceReference()
{
    Prompts::current().chooseWithTitle(
        LH("helpForActiveSourceTitle"), LH("helpForActiveSourceHeading"), LH("helpForActiveSource"), { L("Close") });
}

void SourceReferenceDialog::endEditing()
{
    FTSourceRel* citation = m_model.sourceRel();
    if (!citation || m_model.isDeleted())
        return;
    if (const QString typed = m_pageRefField->text(); typed != citation->reference())
        citation->setReference(typed);
    m_notes->endEditing();
}

void SourceReferenceDialog::close()
{
    if (m_closing)
        return;
    m_closing = true;
    endEditing();
    m_model.close(size());
    done(0);
}

void SourceReferenceDialog::reject()
{
    close();
}
