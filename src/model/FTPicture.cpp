#include "model/FTPicture.h"

#include "model/FTOriginalPicture.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTThumbnail.h"
#include "model/Dates.h"
#include "model/FTMoc.h"
#include "model/ModelFlags.h"
#include "model/SourceCiting.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QFileInfo>
#include <QTextDocument>

#include <algorithm>

namespace {
const Key kFilename("filename");
const Key kOriginalFilename("originalFilename");
const Key kName("name");
const Key kDate("date");
const Key kNotes("notes");
const Key kSeqNo("seqNo");
const Key kRotation("rotation");
const Key kRclCut("rclCut");
const Key kTranscriptionData("transcriptionData");
const Key kNumericId("numericId");
const Key kExtraData("extraData");
const Key kThumbNailImageData("thumbNailImageData");
const Key kLastChange("lastChange");
const Key kOwner("owner");
const Key kSource("source");
const Key kDefaultPictureOwner("defaultPictureOwner");
const Key kOriginalPicture("originalPicture");
const Key kThumbnail("thumbnail");
const Key kSourceRels("sourceRels");
}

QString FTPicture::originalFilename() const
{
    return ManagedObject::stringValue(kOriginalFilename);
}
void FTPicture::setOriginalFilename(const QString& value)
{
    ManagedObject::setString(kOriginalFilename, value);
}
QString FTPicture::name() const
{
    return ManagedObject::stringValue(kName);
}
void FTPicture::setName(const QString& value)
{
    ManagedObject::setString(kName, value);
}
QString FTPicture::date() const
{
    return ManagedObject::stringValue(kDate);
}
void FTPicture::setDate(const QString& value)
{
    ManagedObject::setString(kDate, value);
}
QString FTPicture::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTPicture::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
int FTPicture::seqNo() const
{
    return int(ManagedObject::integerValue(kSeqNo));
}
void FTPicture::setSeqNo(int value)
{
    ManagedObject::setInteger(kSeqNo, value);
}
int FTPicture::rotation() const
{
    return int(ManagedObject::integerValue(kRotation));
}
void FTPicture::setRotation(int value)
{
    ManagedObject::setInteger(kRotation, value);
}
QString FTPicture::rclCut() const
{
    return ManagedObject::stringValue(kRclCut);
}
void FTPicture::setRclCut(const QString& value)
{
    ManagedObject::setString(kRclCut, value);
}
QByteArray FTPicture::transcriptionData() const
{
    return ManagedObject::dataValue(kTranscriptionData);
}
void FTPicture::setTranscriptionData(const QByteArray& value)
{
    ManagedObject::setData(kTranscriptionData, value);
}
int FTPicture::numericId() const
{
    return int(ManagedObject::integerValue(kNumericId));
}
void FTPicture::setNumericId(int value)
{
    ManagedObject::setInteger(kNumericId, value);
}
QByteArray FTPicture::extraData() const
{
    return ManagedObject::dataValue(kExtraData);
}
void FTPicture::setExtraData(const QByteArray& value)
{
    ManagedObject::setData(kExtraData, value);
}
QByteArray FTPicture::thumbNailImageData() const
{
    return ManagedObject::dataValue(kThumbNailImageData);
}
void FTPicture::setThumbNailImageData(const QByteArray& value)
{
    ManagedObject::setData(kThumbNailImageData, value);
}
QDateTime FTPicture::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTPicture::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTPerson* FTPicture::owner() const
{
    return ManagedObject::object<FTPerson>(kOwner);
}
void FTPicture::setOwner(FTPerson* value)
{
    if (!value && !source())
        return;
    ManagedObject::setObject(kOwner, value);
}
FTSource* FTPicture::source() const
{
    return ManagedObject::object<FTSource>(kSource);
}
void FTPicture::setSource(FTSource* value)
{
    if (value == source() || (!value && !owner()))
        return;
    FTPicture* replaced = value ? value->picture() : nullptr;
    ManagedObject::setObject(kSource, value);
    deleteIfOwnerless(replaced);
}
void FTPicture::deleteIfOwnerless(FTPicture* picture)
{
    if (picture && !picture->isDeleted() && !picture->owner() && !picture->source())
        picture->context()->deleteObject(picture);
}
FTPerson* FTPicture::defaultPictureOwner() const
{
    return ManagedObject::object<FTPerson>(kDefaultPictureOwner);
}
void FTPicture::setDefaultPictureOwner(FTPerson* value)
{
    ManagedObject::setObject(kDefaultPictureOwner, value);
}
FTOriginalPicture* FTPicture::originalPicture() const
{
    return ManagedObject::object<FTOriginalPicture>(kOriginalPicture);
}
void FTPicture::setOriginalPicture(FTOriginalPicture* value)
{
    ManagedObject::setObject(kOriginalPicture, value);
}
FTThumbnail* FTPicture::thumbnail() const
{
    return ManagedObject::object<FTThumbnail>(kThumbnail);
}
void FTPicture::setThumbnail(FTThumbnail* value)
{
    ManagedObject::setObject(kThumbnail, value);
}
QList<FTSourceRel*> FTPicture::sourceRels() const
{
    return ManagedObject::objectList<FTSourceRel>(kSourceRels);
}
void FTPicture::addSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::addObject(kSourceRels, value);
}
void FTPicture::removeSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::removeObject(kSourceRels, value);
}

// ---- Creating --------------------------------------------------------------------------------------------------

namespace {
// Pictures numbered this high are not counted among an owner's pictures when ordering a new one.
constexpr int kOrderedSeqNoLimit = 1000000;
}

FTPicture* FTPicture::initInMoc(FTMoc* moc, const QString& path, FTManagedObject* owner)
{
    auto* person = dynamic_cast<FTPerson*>(owner);
    auto* source = dynamic_cast<FTSource*>(owner);
    // Checked before anything is inserted: a refused picture must not stay behind as a record of nobody.
    if ((!person && !source) || owner->context() != moc) {
        Prompts::current().message(LocalizedString(QStringLiteral("AddPictureError")));
        return nullptr;
    }
    auto* picture = moc->insertObject<FTPicture>();
    nameNewObjectAction(moc, LocalizedString(QStringLiteral("AddPicture")));
    picture->setFilename(path);
    if (person)
        picture->setOwner(person);
    else
        picture->setSource(source);
    picture->setDefaultPictureOwner(nullptr);
    picture->setRclCut(UtilsPics::stringFromRect(QRectF()));
    picture->setTitleFromFileName(path);
    picture->setSequenceNumber();
    picture->assignNumericId(FTCounter::Picture);
    if (gMergeFromAnotherDatabase)
        if (FTSource* active = moc->activeSource())
            picture->addReferenceToSource(active);
    return picture;
}

void FTPicture::setTitleFromFileName(const QString& path)
{
    if (path.isEmpty()) {
        setName(QStringLiteral(" "));
        return;
    }
    QString title = QFileInfo(path).completeBaseName();
    title.replace(QLatin1Char('_'), QLatin1Char(' '));
    setName(title);
}

void FTPicture::setSequenceNumber()
{
    FTPerson* person = owner();
    if (!person) {
        setSeqNo(1);
        return;
    }
    int highest = 0;
    bool others = false;
    for (const FTPicture* p : person->pictures()) {
        if (p == this || p->seqNo() >= kOrderedSeqNoLimit)
            continue;
        others = true;
        highest = std::max(highest, p->seqNo());
    }
    setSeqNo(highest + 1);
    if (!others)
        person->setDefaultPicture(this);
}

// ---- Descriptions ----------------------------------------------------------------------------------------------

quint32 FTPicture::lDate() const
{
    const std::optional<DateValue> v = Dates::getDateComponents(date(), Dates::ReadOptions { .quiet = true });
    return v ? v->longDate() : 0;
}

QImage FTPicture::originalImage() const
{
    return UtilsPics::originalImageForFile(filename());
}

QString FTPicture::ownersName() const
{
    if (const FTPerson* p = owner())
        return p->nameWithBirthAndDeathYears();
    if (const FTSource* s = source())
        return s->shortDescription();
    return {};
}

QString FTPicture::pictureDescription() const
{
    const FTOriginalPicture* op = originalPicture();
    const qsizetype thumbnailBytes = op ? op->data().size() : 0;
    // Joined piece by piece: a title or note holding "%1" must come out as written.
    auto line = [](const char* key, const QString& separator, const QString& value) {
        return LocalizedString(QString::fromLatin1(key)) + separator + value;
    };
    const QString colon = QStringLiteral(": ");
    const QString equals = QStringLiteral(" = ");
    return QStringList { line("PicDescTitl", colon, name()), line("PicDescDate", colon, date()),
        line("PicDescFile", colon, filename()), line("PicDescOrig", colon, originalFilename()),
        line("PicDescThmb", colon, QString::number(thumbnailBytes) + QStringLiteral(" bytes")),
        line("PicDescCrop", equals, rclCut()), line("PicDescNote", equals, notes()) }
        .join(QLatin1Char('\n'));
}

QString FTPicture::attributesBeingMerged() const
{
    static const QStringList kLeftOut { QStringLiteral("extraData"), QStringLiteral("lastChange"),
        QStringLiteral("numericId"), QStringLiteral("transcriptionData") };
    return attributesWithValues(LocalizedString(QStringLiteral("Picture")), kLeftOut,
        { { QStringLiteral("rclCut"), LocalizedString(QStringLiteral("CropRect")) } });
}

QString FTPicture::transcription() const
{
    return QString::fromUtf8(transcriptionData());
}

void FTPicture::setTranscription(const QString& html)
{
    setTranscriptionData(html.isEmpty() ? QByteArray("") : html.toUtf8());
}

QString FTPicture::transcriptionString() const
{
    const QString html = transcription();
    if (html.isEmpty())
        return {};
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

// ---- Citations -------------------------------------------------------------------------------------------------

FTSourceRel* FTPicture::addReferenceToSource(FTSource* source)
{
    if (!source)
        return nullptr;
    return SourceCiting {
        CitationDialogs::Kind::Picture,
        this,
        sourceRels(),
        gMergeFromAnotherDatabase ? attributesBeingMerged()
                                  : QStringLiteral("%1, %2, %3")
                                        .arg(LocalizedString(QStringLiteral("Image")),
                                            LocalizedString(QStringLiteral("Date")),
                                            LocalizedString(QStringLiteral("Notes"))),
        [] { return LocalizedString(QStringLiteral("AddSourceInfo")); },
        [source](int count) {
            return QStringLiteral("%1 %2 %3 %4 %5")
                .arg(LocalizedString(QStringLiteral("ThereAre")))
                .arg(count)
                .arg(LocalizedString(QStringLiteral("SourceChosenMultiple1")))
                .arg(source->numericId())
                .arg(LocalizedString(QStringLiteral("SourceChosenMultiple2")));
        },
        {},
    }.cite(source);
}

void FTPicture::cloneSourceReferencesFrom(const FTPicture* other)
{
    if (!other || other == this)
        return;
    // A citation of another database's source is left behind: that source is not this database's to cite.
    for (const FTSourceRel* r : other->sourceRels())
        r->copyFor(this);
}

// ---- By name ---------------------------------------------------------------------------------------------------

QVariant FTPicture::valueForKey(const QString& key) const
{
    if (key == QLatin1String("filename")) {
        const QString path = filename();
        return path.isNull() ? QVariant() : QVariant(path);
    }
    return FTManagedObject::valueForKey(key);
}

void FTPicture::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == QLatin1String("filename"))
        setFilename(value.toString());
    else if (key == QLatin1String("owner"))
        setOwner(dynamic_cast<FTPerson*>(fromVariant(value)));
    else if (key == QLatin1String("source"))
        setSource(dynamic_cast<FTSource*>(fromVariant(value)));
    else
        FTManagedObject::setValueForKey(key, value);
}
