#include "sources/ui/MergeTwoSources.h"

#include "sources/SourceListModel.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/NotesTextEdit.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"

#include "platform/Localizer.h"

#include <QFormLayout>
#include <QGroupBox>
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

// The label of each shown field, in SourcePairMerge::shownFields() order.
const char* const kLabels[] = { "SourceLabelType", "SourceLabelTitle", "SourceLabelShortTitle", "SourceLabelAuthor",
    "SourceLabelPublisher", "SourceLabelDate", "SourceLabelLocation", "CitationNotesLabel" };

void paintText(QWidget* field, const QColor& colour)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, colour);
    field->setPalette(palette);
}
}

MergeTwoSources::MergeTwoSources(FTMoc* moc, const QList<FTSource*>& sources, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_pair(sources.value(0), sources.value(1))
{
    setObjectName(QStringLiteral("MergeTwoSources"));
    setWindowTitle(L("MergeTwoSourcesTitle"));
    m_sides[0].source = m_pair.source1();
    m_sides[1].source = m_pair.source2();

    auto* layout = new QVBoxLayout(this);
    auto* sides = new QHBoxLayout;
    sides->addWidget(buildSide(1, L("MergeTwoSourcesFirst")), 1);
    sides->addWidget(buildSide(2, L("MergeTwoSourcesSecond")), 1);
    layout->addLayout(sides, 1);

    m_differences = new QLabel;
    m_differences->setObjectName(QStringLiteral("differences"));
    m_differences->setWordWrap(true);
    m_differences->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_differences);

    auto* buttons = new QHBoxLayout;
    m_mergeButton = SourcesWindowHelpers::makeButton(
        QStringLiteral("mergeButton"), m_pair.mergeButtonTitle(), [this] { merge(); }, QStringLiteral("go-next"));
    buttons->addWidget(m_mergeButton);
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    resize(880, 500);
    setTextColours();
}

MergeTwoSources::~MergeTwoSources() = default;

QWidget* MergeTwoSources::buildSide(int side, const QString& heading)
{
    Side& s = m_sides[side - 1];
    const QString number = s.source ? QString::number(s.source->numericId()) : QString();
    auto* box = new QGroupBox(QStringLiteral("%1: %2 %3").arg(heading, L("Source"), number));
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const QStringList& keys = SourcePairMerge::shownFields();
    for (int i = 0; i < keys.size(); ++i) {
        const QString key = keys[i];
        const QString value = s.source ? s.source->valueForKey(key).toString() : QString();
        QWidget* field = nullptr;
        if (key == QLatin1String("notes")) {
            s.notes = new NotesTextEdit;
            s.notes->setValue(value);
            s.notes->commit = [this, side, key](const QString& text) { writeField(side, key, text); };
            field = s.notes;
        } else {
            auto* line = new QLineEdit(value);
            line->setCursorPosition(0);
            connect(line, &QLineEdit::editingFinished, this,
                [this, side, key, line] { writeField(side, key, line->text()); });
            s.lines.insert(key, line);
            field = line;
        }
        field->setObjectName(key + QString::number(side));
        field->setEnabled(s.source != nullptr);
        form->addRow(L(kLabels[i]), field);
    }
    QLabel* count = new QLabel;
    count->setObjectName(QStringLiteral("source%1Count").arg(side));
    form->addRow(QString(), count);
    (side == 1 ? m_source1Count : m_source2Count) = count;
    return box;
}

QString MergeTwoSources::differences() const
{
    return m_differences->text();
}

QWidget* MergeTwoSources::field(int side, const QString& key) const
{
    const Side& s = m_sides[side - 1];
    if (key == QLatin1String("notes"))
        return s.notes;
    return s.lines.value(key);
}

QColor MergeTwoSources::textColour(const QString& key) const
{
    return m_colours.value(key, QColor(Qt::black));
}

void MergeTwoSources::writeField(int side, const QString& key, const QString& text)
{
    FTSource* source = m_sides[side - 1].source;
    if (!source || source->isDeleted() || source->valueForKey(key).toString() == text)
        return;
    // A field emptied holds no value, as in the sources editor.
    source->setValueForKey(key, text.isEmpty() ? QVariant() : QVariant(text));
    setTextColours();
}

void MergeTwoSources::setTextColours()
{
    const QStringList different = m_pair.differentFields();
    for (const QString& key : SourcePairMerge::shownFields()) {
        const QColor colour = different.contains(key) ? QColor(Qt::red) : QColor(Qt::black);
        m_colours.insert(key, colour);
        for (int side = 1; side <= 2; ++side)
            if (QWidget* f = field(side, key))
                paintText(f, colour);
    }
    m_differences->setText(m_pair.differences());
    m_source1Count->setText(SourcePairMerge::citationCount(m_pair.source1()));
    m_source2Count->setText(SourcePairMerge::citationCount(m_pair.source2()));
}

void MergeTwoSources::endEditing()
{
    for (int side = 1; side <= 2; ++side) {
        const Side& s = m_sides[side - 1];
        for (auto it = s.lines.begin(); it != s.lines.end(); ++it)
            writeField(side, it.key(), it.value()->text());
        if (s.notes)
            s.notes->endEditing();
    }
}

void MergeTwoSources::merge()
{
    endEditing();
    FTSource* first = m_pair.source1();
    const SourcePairMerge::Outcome outcome = m_pair.merge();
    if (outcome.deleted) {
        m_sides[0].source = nullptr;
        if (m_sourcesArrayController)
            m_sourcesArrayController->removeDeletedSources();
    } else if (m_sourcesArrayController && first) {
        m_sourcesArrayController->sourcesEdited({ first, m_pair.source2() });
    }
    close();
}

void MergeTwoSources::close()
{
    if (m_closing)
        return;
    m_closing = true;
    endEditing();
    if (m_moc)
        m_moc->saveMoc();
    done(0);
}

void MergeTwoSources::reject()
{
    close();
}
