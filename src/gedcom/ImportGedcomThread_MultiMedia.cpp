// Multimedia links and records: pictures of people and sources, their files and the other lines about them.
#include "gedcom/ImportGedcomThread.h"

#include "gedcom/GedRec.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/UtilsPics.h"
#include "platform/FTLog.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRectF>

#include <sys/stat.h>

namespace {

bool is(const QString& tag, const char* name)
{
    return tag == QLatin1String(name);
}

// The kind of file a format or extension names: lower case, " alias" (a link in a pictures folder) cut off.
QString fileKind(const QString& text)
{
    QString kind = text.trimmed().toLower();
    if (const qsizetype at = kind.indexOf(QLatin1String(" alias")); at >= 0)
        kind.truncate(at);
    return kind;
}

// What the path leads to, links followed: only a plain file is ever taken into the database, never a folder,
// device, pipe or socket.
bool isRegularFile(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isInside(const QString& path, const QString& folder)
{
    return !folder.isEmpty() && (path == folder || path.startsWith(folder + QLatin1Char('/')));
}

// Why a file that a GEDCOM file names may not come into the database; empty when it may. A file comes in only
// when its content (not its name) is a picture, a PDF, a sound or a movie: a file of text, an empty one or a
// broken picture under a picture's name is refused as a drop refuses it. A symbolic link (a hostile archive can
// carry one beside the GEDCOM file) is followed only to a file inside the GEDCOM file's folder tree.
QString whyNotTakenIn(const QString& path, const QString& gedcomFilename)
{
    const QFileInfo gedcom(gedcomFilename);
    const QString tree = QFileInfo(gedcom.absolutePath()).canonicalFilePath();
    const QFileInfo info(path);
    const QString target = info.canonicalFilePath();
    // A link itself, or a path into the tree that passes a linked folder: where the file really is counts.
    const bool intoTheTree = isInside(QDir::cleanPath(path), gedcom.absolutePath());
    if ((info.isSymLink() || intoTheTree) && !isInside(target, tree))
        return QStringLiteral("a symbolic link to a file outside the folder of the GEDCOM file: %1 -> %2")
            .arg(path, target.isEmpty() ? info.symLinkTarget() : target);

    const QString kind = UtilsPics::fileKindOf(path);
    if (kind != QLatin1String("pdf") && UtilsPics::imageFileTypes().contains(kind)) {
        // The image reader's own check, as for a drop: the contents name the format, and they must decode.
        QString whyNot;
        if (UtilsPics::thumbnailImageForFile(path, QRectF(), &whyNot).isNull())
            return whyNot.isEmpty() ? QStringLiteral("not a readable picture: %1").arg(path) : whyNot;
        return {};
    }
    const QMimeType content = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchContent);
    const QString name = content.name();
    if (name.startsWith(QLatin1String("image/")) || name.startsWith(QLatin1String("audio/"))
        || name.startsWith(QLatin1String("video/")) || content.inherits(QStringLiteral("application/pdf")))
        return {};
    return QStringLiteral("not a picture, PDF, sound or movie (%1): %2")
        .arg(info.size() == 0 ? QStringLiteral("empty") : content.comment(), path);
}

} // namespace

QString ImportGedcomThread::cleanFilename(const QString& path)
{
    QString clean = path;
    clean.remove(QStringLiteral(":images:"));
    clean.replace(u'\\', u'/');
    while (clean.contains(QLatin1String("//")))
        clean.replace(QLatin1String("//"), QLatin1String("/"));
    if (clean.startsWith(QLatin1String("/.PSF")) || clean.startsWith(QLatin1String("/.psf")))
        clean.remove(0, 5);
    return clean;
}

QString ImportGedcomThread::resolvedPicturePath(const QString& cleaned) const
{
    if (cleaned.isEmpty() || QDir::isAbsolutePath(cleaned))
        return QDir::cleanPath(cleaned);
    return QDir::cleanPath(QFileInfo(m_request.gedcomFilename).absoluteDir().filePath(cleaned));
}

const QSet<QString>& ImportGedcomThread::pictureTypes()
{
    // Movies are not imported.
    if (m_pictureTypes.isEmpty())
        for (const QString& type : UtilsPics::multimediaFileTypes(nullptr, false))
            m_pictureTypes.insert(type.toLower());
    return m_pictureTypes;
}

void ImportGedcomThread::processMULTIMEDIA_LINK_For(FTManagedObject* row, GedRec* line)
{
    if (!row || !line->hasType("OBJE"))
        return;
    // A source holds one picture, and the first link gives it. A later one (a census page linked under each of
    // the source's citations) would replace it and leave the first picture with no owner: it makes nothing, and
    // the log names it.
    if (const auto* source = dynamic_cast<FTSource*>(row); source && source->picture()) {
        line->setErrorReason(GedRec::ReasonSourceHasPicture, GedRec::ActionIgnored);
        return;
    }
    if (line->valueIsPointer()) {
        GedRec* record = recordForPointerOf(line);
        if (!record || !record->hasType("OBJE")) {
            printBadPointer(line);
            return;
        }
        processMULTIMEDIA_RECORD_For(row, record);
        use(line);
        return;
    }
    QString format;
    if (FTPicture* picture = processMM_FORM_SubRecord_For(row, line, &format)) {
        use(line);
        processMM_FILE_SubRecord_For(picture, line, format);
        processMM_OtherSubRecords_For(picture, line);
    }
}

void ImportGedcomThread::processMULTIMEDIA_RECORD_For(FTManagedObject* row, GedRec* record)
{
    // One owner linking a record twice gets one picture; every other owner gets one of its own.
    if (record->hasMmObjectOwnersSet() && record->mmObjectOwnersSet().contains(row))
        return;
    QString format;
    FTPicture* picture = processMM_FORM_SubRecord_For(row, record, &format);
    if (!picture)
        return;
    record->mmObjectOwnersSet().insert(row);
    use(record);
    processMM_FILE_SubRecord_For(picture, record, format);
    processMM_OtherSubRecords_For(picture, record);
}

FTPicture* ImportGedcomThread::processMM_FORM_SubRecord_For(FTManagedObject* row, GedRec* obje, QString* format)
{
    // Only people and sources have pictures.
    if (!dynamic_cast<FTPerson*>(row) && !dynamic_cast<FTSource*>(row))
        return nullptr;
    GedRec* form = obje->firstSubRecord("FORM");
    QString text;
    if (form) {
        text = form->value();
    } else if (GedRec* file = obje->firstSubRecord("FILE")) {
        if (GedRec* under = file->firstSubRecord("FORM")) {
            FTLog(QStringLiteral("Found FORM gedRec as subrecord of FILE record"));
            form = under;
            text = under->value();
        } else {
            text = QFileInfo(cleanFilename(file->value())).suffix();
        }
    } else {
        return nullptr;
    }
    text = fileKind(text);
    if (format)
        *format = text;
    if (text.isEmpty())
        return nullptr;
    if (!pictureTypes().contains(text)) {
        if (form)
            form->setErrorReason(GedRec::ReasonUnrecognisedValue, GedRec::ActionIgnored);
        return nullptr;
    }
    FTPicture* picture = FTPicture::initInMoc(m_moc.get(), QString(), row);
    if (!picture)
        return nullptr;
    const int id = obje->numericId();
    if (id != 0) {
        // Every picture made from one record carries the record's number.
        picture->setNumericId(id);
        m_maxPictureId = qMax(m_maxPictureId, id);
    } else {
        picture->setNumericId(++m_maxPictureId);
    }
    if (form)
        use(form);
    return picture;
}

void ImportGedcomThread::processMM_FILE_SubRecord_For(FTPicture* picture, GedRec* obje, const QString& format)
{
    Q_UNUSED(format);
    GedRec* file = obje->firstSubRecord("FILE");
    if (!file && obje->level() == 0) {
        file = obje->firstSubRecord("_FILE");
        if (!file)
            file = obje->firstSubRecord("_FIL");
    }
    if (!file)
        return;

    const QString cleaned = cleanFilename(file->value().trimmed());
    const QString kind = fileKind(QFileInfo(cleaned).suffix());
    if (kind.isEmpty() || !pictureTypes().contains(kind)) {
        file->setErrorReason(GedRec::ReasonWrongFileExtension, GedRec::ActionIgnored);
    } else {
        // A relative path is relative to the GEDCOM file. Only a plain file is taken in, and each one is listed at
        // the head of the log, so the user sees which files of the computer went into the database.
        const QString path = resolvedPicturePath(cleaned);
        const QFileInfo info(path);
        const bool regular = info.exists() && isRegularFile(path);
        const QString refused = regular ? whyNotTakenIn(path, m_request.gedcomFilename) : QString();
        if (regular && refused.isEmpty()) {
            picture->setFilename(info.absoluteFilePath());
            picture->setTitleFromFileName(info.absoluteFilePath());
            m_errorMessages.append(QStringLiteral("line %1. Picture file taken into the database: %2")
                                       .arg(file->lineNo())
                                       .arg(info.absoluteFilePath()));
        } else {
            picture->setName(QFileInfo(cleaned).completeBaseName());
            picture->setOriginalFilename(cleaned);
            if (!refused.isEmpty())
                file->setErrorReason(GedRec::ReasonInvalidValue, GedRec::ActionIgnored, refused);
            else if (info.exists())
                file->setErrorReason(GedRec::ReasonInvalidValue, GedRec::ActionIgnored,
                    QStringLiteral("not a plain file: %1").arg(path));
        }
        use(file);
    }
    for (GedRec* sub : file->subRecords()) {
        if (sub->hasType("TITL")) {
            FTLog(QStringLiteral("Found a TITL as a subrecord of a FILE record"));
            picture->setName(sub->value());
            use(sub);
        }
    }
}

void ImportGedcomThread::processMM_OtherSubRecords_For(FTPicture* picture, GedRec* obje)
{
    const bool kinloom = m_header.bKinloom;
    for (GedRec* line : obje->subRecords()) {
        const QString& tag = line->type();
        if (is(tag, "FORM") || is(tag, "FILE") || is(tag, "_FILE") || is(tag, "_FIL")) {
            continue;
        } else if (is(tag, "TITL")) {
            picture->setName(line->value());
            use(line);
        } else if (is(tag, "NOTE") || (m_header.bFamilyHistorian && is(tag, "_NOTE"))) {
            processNOTE_STRUCTURE_For(picture, line);
        } else if (is(tag, "SOUR")) {
            processSOURCE_CITATION_STRUCTURE_For(picture, line, QString());
        } else if (is(tag, "BLOB") || is(tag, "OBJE") || is(tag, "RIN")) {
            continue;
        } else if (is(tag, "REFN")) {
            processUSER_REFERENCE_NUMBER_For(picture, line);
        } else if (is(tag, "CHAN")) {
            addLastChangeDateTo(picture, line);
        } else if ((kinloom && (is(tag, "_Date") || is(tag, "_DATE")))
            || ((m_header.bFamilyHistorian || m_header.bLegacy) && is(tag, "_DATE"))) {
            picture->setDate(line->value());
            use(line);
        } else if (kinloom && (is(tag, "_Comment") || is(tag, "_CMTS"))) {
            processCOMMENT_STRUCTURE_For(picture, line);
        } else if (kinloom && (is(tag, "_OriginalFileName") || is(tag, "_OFNM"))) {
            const QString original = line->value().trimmed();
            if (!original.isEmpty())
                picture->setOriginalFilename(original);
            use(line);
        } else if (kinloom && (is(tag, "_RclCut") || is(tag, "_CROP"))) {
            picture->setRclCut(line->value());
            use(line);
        } else if (kinloom && (is(tag, "_SeqNo") || is(tag, "_SEQN"))) {
            picture->setSeqNo(line->value().trimmed().toInt());
            use(line);
        } else {
            processInvalidTagFor(QStringLiteral("MULTIMEDIA_LINK/RECORD"), line);
        }
    }
}
