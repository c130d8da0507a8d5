#include "pictures/ui/PictureMetadata.h"

#include "pictures/ui/ThumbView.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTPicture.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

void addNodes(QTreeWidgetItem* parent, QTreeWidget* tree, const QList<MetadataNode>& nodes)
{
    for (const MetadataNode& node : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, node.key);
        item->setText(1, node.val);
        item->setToolTip(1, node.val);
        addNodes(item, tree, node.children);
    }
}

QLabel* fieldLabel(const char* objectName)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}
}

PictureMetadata::PictureMetadata(FTPicture* picture, QWidget* parent)
    : QDialog(parent, Qt::Tool)
    , m_picture(picture)
{
    setObjectName(QStringLiteral("PictureMetadata"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(L("PictureMetadataTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_thumbView = new ThumbView;
    m_thumbView->setFixedSize(PictureMetadataReader::kPreviewSize, PictureMetadataReader::kPreviewSize);
    top->addWidget(m_thumbView, 0, Qt::AlignTop);
    auto* form = new QFormLayout;
    m_filePath = fieldLabel("filePath");
    m_fileType = fieldLabel("fileType");
    m_fileSize = fieldLabel("fileSize");
    form->addRow(L("MetadataPath"), m_filePath);
    form->addRow(L("MetadataType"), m_fileType);
    form->addRow(L("MetadataSize"), m_fileSize);
    top->addLayout(form, 1);
    layout->addLayout(top);

    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("metadataTree"));
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({ L("MetadataProperty"), L("MetadataValue") });
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->setAlternatingRowColors(true);
    layout->addWidget(m_tree, 1);

    auto* buttons = new QHBoxLayout;
    m_appendIPTCButton = new QPushButton(themeIcon(QStringLiteral("list-add")), L("AppendIPTCToNotes"));
    m_appendIPTCButton->setObjectName(QStringLiteral("appendIPTCButton"));
    m_appendIPTCButton->setAutoDefault(false);
    m_appendIPTCButton->hide();
    auto* close = new QPushButton(themeIcon(QStringLiteral("window-close")), L("Close"));
    close->setAutoDefault(false);
    buttons->addWidget(m_appendIPTCButton);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(m_appendIPTCButton, &QPushButton::clicked, this, &PictureMetadata::insertMetadataIntoNotes);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    resize(520, 560);
    setURL(UtilsPics::resolveAliasedPath(picture ? picture->filename() : QString()));
}

void PictureMetadata::setURL(const QString& path)
{
    if (!m_path.isNull() && path == m_path)
        return;
    m_path = path;
    const PictureMetadataReader reader(path);
    m_nodes = reader.tree();
    m_tree->clear();
    addNodes(nullptr, m_tree, m_nodes);
    m_tree->expandAll();
    m_appendIPTCButton->setVisible(reader.hasIptc());
    m_thumbView->setImage(reader.preview());
    m_filePath->setText(reader.filePath());
    m_fileType->setText(reader.fileType());
    m_fileSize->setText(reader.fileSize());
}

QString PictureMetadata::filePathText() const
{
    return m_filePath->text();
}
QString PictureMetadata::fileTypeText() const
{
    return m_fileType->text();
}
QString PictureMetadata::fileSizeText() const
{
    return m_fileSize->text();
}

void PictureMetadata::insertMetadataIntoNotes()
{
    if (!m_picture || m_picture->filename().isEmpty())
        return;
    Q_EMIT aboutToReadNotes();
    const bool doubleSpacing = Utils::displayYesNoQuery(QString(), L("DoubleSpc"), L("SingleSpc"));
    const std::optional<QString> notes
        = PictureMetadataReader::notesWithIptc(m_nodes, m_picture->notes(), doubleSpacing);
    if (!notes) {
        DisplayMsg(L("NoPicProps"));
        return;
    }
    m_picture->setNotes(*notes);
    Q_EMIT notesChanged();
}
