#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <optional>

// One line of the metadata tree: a property's name and value, or a group ("val" empty) with its properties.
struct MetadataNode {
    QString key;
    QString val;
    QList<MetadataNode> children;
};

// What an image file says about itself, read with exiv2: its pixel size and the groups "EXIF Properties",
// "GPS Properties", "IPTC Properties" and "XMP Properties", each a list of properties named by exiv2's tag labels.
// Nodes of one level are in the order of the properties' own keys (tag names; the groups as "{Exif}", "{GPS}",
// "{IPTC}", "{XMP}"). A property given several times (IPTC keywords) or holding a list (an XMP bag) is one value
// joined by ", ". Beside the tree: the path, the file type (the MIME type's description and name), the size in
// bytes and a preview of at most 128 pixels, turned as the file's orientation says.
//
//   PictureMetadataReader metadata(path);
//   for (const MetadataNode& group : metadata.tree()) ...
//   if (auto notes = PictureMetadataReader::notesWithIptc(metadata.tree(), picture->notes(), doubleSpacing)) ...
//
// A file that exiv2 cannot read gives an empty tree; one that no reader can open leaves everything empty.
class PictureMetadataReader {
public:
    static constexpr int kPreviewSize = 128;
    static inline const QString kIptcGroup = QStringLiteral("IPTC Properties");

    explicit PictureMetadataReader(const QString& path);

    const QList<MetadataNode>& tree() const { return m_tree; }
    bool hasIptc() const { return m_hasIptc; }
    QString filePath() const { return m_filePath; }
    QString fileType() const { return m_fileType; }
    QString fileSize() const { return m_fileSize; }
    const QImage& preview() const { return m_preview; }

    // The notes followed by the IPTC properties, "<name>: <value>" one a line (a blank line after each with
    // `doubleSpacing`); the notes are trimmed and, when not empty, followed by one blank line. Null when the tree
    // has no IPTC properties.
    static std::optional<QString> notesWithIptc(
        const QList<MetadataNode>& tree, const QString& notes, bool doubleSpacing);

private:
    bool readTree(const QString& path);

    QList<MetadataNode> m_tree;
    bool m_hasIptc = false;
    QString m_filePath;
    QString m_fileType;
    QString m_fileSize;
    QImage m_preview;
};
