#include "sources/ui/CitationPanes.h"

#include "sources/CitationTableModel.h"
#include "sources/ui/CitationTableView.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SourcesAddModDel.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/DisplayMsg.h"

#include "model/FTSourceRel.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

QHBoxLayout* CitationPanes::makeHeadingRow(QLabel* heading, std::function<void()> refresh, bool toolTips)
{
    auto* row = new QHBoxLayout;
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    row->addWidget(heading, 1);
    QPushButton* all = SourcesWindowHelpers::makeButton(QStringLiteral("AllFields"), L("AllFields"), [refresh] {
        CitationTableModel::showSourceFields(true);
        refresh();
    });
    QPushButton* title = SourcesWindowHelpers::makeButton(QStringLiteral("TitleOnly"), L("TitleOnly"), [refresh] {
        CitationTableModel::showSourceFields(false);
        refresh();
    });
    if (toolTips) {
        all->setToolTip(L("AllFieldsTip"));
        title->setToolTip(L("TitleOnlyTip"));
    }
    row->addWidget(all);
    row->addWidget(title);
    return row;
}

SelectASourceButton* CitationPanes::makeCiteASourceButton(
    FTMoc* moc, SelectASourceDelegate* delegate, const QString& toolTip)
{
    auto* button = new SelectASourceButton;
    button->setObjectName(QStringLiteral("selectASourceButton"));
    button->setText(L("CiteASource"));
    button->setIcon(QIcon());
    button->setToolTip(toolTip);
    button->setMoc(moc);
    button->setDelegate(delegate);
    return button;
}

void CitationPanes::editSelectedSource(
    CitationTableView* table, FTMoc* moc, QWidget* owner, std::function<void()> finished)
{
    if (!table->endEditing())
        return;
    FTSourceRel* citation = table->selectedCitation();
    if (!citation || !citation->source()) {
        DisplayMsg(L("SelectSourceTryAgain"));
        return;
    }
    auto* editor = new SourcesAddModDel(moc, citation->source(), owner);
    editor->setWindowModality(Qt::WindowModal);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(editor, &QDialog::finished, owner, [finished = std::move(finished)] { finished(); });
    editor->open();
}
