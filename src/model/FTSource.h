#pragma once

#include "model/FTManagedObject.h"

#include <functional>

#include <array>

class FTPicture;
class FTSourceRel;
class StoreSchema;

// A source: a document, book, register or other origin of information, which people, events and pictures cite
// through citations (FTSourceRel). Numbered from the ModelDefaults counter maxSourceId.
//
// Its texts for lists: shortDescription() (the filled fields, one labelled line each), the same with the number
// (shortDescriptionWithNumericId(), a derived key that changes with every field it shows), the person editor's
// choice of fields (descriptionForIASources(), by the "showSource..." user defaults) and a one-line form for
// compare and merge.

class FTSource : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Source";

    int numericId() const;
    void setNumericId(int value);
    QString type() const;
    void setType(const QString& value);
    QString title() const;
    void setTitle(const QString& value);
    QString abbreviatedTitle() const;
    void setAbbreviatedTitle(const QString& value);
    QString author() const;
    void setAuthor(const QString& value);
    QString publisher() const;
    void setPublisher(const QString& value);
    QString date() const;
    void setDate(const QString& value);
    QString location() const;
    void setLocation(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    QString userId() const;
    void setUserId(const QString& value);
    int flags() const;
    void setFlags(int value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    QList<FTSourceRel*> sourceRels() const;
    void addSourceRelsObject(FTSourceRel* value);
    void removeSourceRelsObject(FTSourceRel* value);
    FTPicture* picture() const;
    // A source holds one picture: the picture it held until now belongs to nobody afterwards, so it is deleted
    // with this change, in the same undo step (its file stays where it is).
    void setPicture(FTPicture* value);

    // A new source with every text field nil and its number taken (none while an import runs); names the open undo
    // action "Add Source" when it has no name yet.
    static FTSource* initInMoc(FTMoc* moc);

    // Type, abbreviated title, title, author, publisher, date and location, each filled one trimmed as a
    // "Label: value" line; the notes (line ends as blanks) as a last line while the rest is shorter than 48
    // characters.
    QString shortDescription() const;
    // The same lines for an RTF report: every text passed through `escape` (the report writer's, which makes user
    // text safe inside RTF), the title's value set in italics. Lines still end in LF.
    QString shortDescriptionWithTitleInItalics(const std::function<QString(const QString&)>& escape) const;

    // "picture" goes through setPicture().
    void setValueForKey(const QString& key, const QVariant& value) override;
    // "ID: % 5d" with the number, a line end, then shortDescription().
    QString shortDescriptionWithNumericId() const;
    // The same with each line end replaced by two blanks.
    QString shortDescriptionWithNumericIdNoLinefeed() const;
    // The fields the user chose for the person editor's sources list (user defaults "showSourceType",
    // "showSourceShortTitle", "showSourceTitle", "showSourceAuthor", "showSourcePublisher", "showSourceDate",
    // "showSourceLocation", "showSourceNotes"), each a line; an empty field reads "No <field>".
    QString descriptionForIASources() const;
    // The same with the eight choices read once (shownFieldsForIASources()), for lists of many sources.
    using ShownFields = std::array<bool, 8>;
    static ShownFields shownFieldsForIASources();
    QString descriptionForIASources(const ShownFields& shown) const;
    // Appends the line "Label: value" for the field `key` to `text` (after a line end when `text` is not empty);
    // the label is capitalised ("AUTH" gives "Auth"); an empty value reads "No <field name>".
    void appendDescription(const QString& key, const QString& label, QString& text) const;
    // "Type: ..., Title: ..." of the filled fields except the notes, on one line.
    QString sourceDescriptionForCompareAndMerge() const;
    // The localised "Yes" when there are notes, else empty.
    QString hasNotes() const;
    int numSourceRels() const;
    // False for an empty title; else whether no other source has the same title, ignoring case and diacritics
    // (the title is matched as written: "*" and "?" are ordinary characters).
    bool isTitleUnique() const;

    // The computed keys readable by name: "shortDescription", "shortDescriptionWithNumericId".
    static void declareDerivedKeys(StoreSchema& schema);
};
