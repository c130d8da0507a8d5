#include "sources/SourceReferencesReport.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "shell/NewReportFile.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QLocale>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>
#include <vector>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

constexpr int kPointSize = 12;
const QString kFont = QStringLiteral("Arial");

QTextCharFormat style(bool bold, const QColor& colour, bool underline = false)
{
    QTextCharFormat f;
    f.setFontFamilies({ kFont });
    f.setFontPointSize(kPointSize);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontUnderline(underline);
    f.setForeground(colour);
    return f;
}

// A field's value as the report shows it: a text trimmed, a number as digits, anything else nothing.
QString fieldText(const FTSource* source, const QString& key)
{
    const QVariant value = source->valueForKey(key);
    if (value.typeId() == QMetaType::QString) {
        QString text = value.toString();
        return TrimString(&text);
    }
    if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
        return QString::number(value.toLongLong());
    return {};
}

// The one line that says who or what cites the source.
QString citationLine(const FTSourceRel* citation)
{
    QString line;
    const FTPerson* person = citation->person();
    if (const FTEvent* event = citation->event(); event && person) {
        const FTEventType* type = event->eventType();
        const QString typeName = type ? type->name() : QString();
        const QString separator = QStringLiteral(" -  ");
        line = person->nameWithBirthAndDeathYears() + separator;
        // An event without a type, or named as its type, is named once.
        if (typeName.isEmpty() || typeName == event->name()) {
            line += event->name();
            if (!event->date().isEmpty())
                line += QStringLiteral(" (%1)").arg(event->date());
        } else {
            line += typeName + QStringLiteral(": ") + event->date();
            if (!event->name().isEmpty())
                line += QStringLiteral(" (%1)").arg(event->name());
        }
    } else if (event) {
        line = event->nameForSourceRefDialog();
    } else if (person) {
        line = person->nameWithBirthAndDeathYears();
    }
    if (const QString reference = citation->reference(); !reference.isEmpty())
        line += QStringLiteral(", %1 = %2").arg(L("RefShort"), reference);
    return line;
}
}

std::unique_ptr<QTextDocument> SourceReferencesReport::document(const FTSource* source, const QDateTime& now)
{
    auto doc = std::make_unique<QTextDocument>();
    QFont base(kFont);
    base.setPointSize(kPointSize);
    doc->setDefaultFont(base);
    if (!source)
        return doc;
    const QTextCharFormat heading = style(true, QColor(255, 0, 0));
    const QTextCharFormat plain = style(false, QColor(0, 0, 0));
    const QTextCharFormat cited = style(true, QColor(0, 0, 255));
    const QTextCharFormat notesLabel = style(false, QColor(0, 0, 0), true);
    QTextCursor cursor(doc.get());

    const FTMoc* moc = source->moc();
    cursor.insertText(QStringLiteral("\n%1 %2 %3 %4\n")
                          .arg(L("SourcesReport"), moc ? moc->modelName() : QString(), L("CreatedOn"),
                              QLocale::c().toString(now, QStringLiteral("dddd dd-MMM-yy 'at' HH:mm"))),
        plain);

    // Each field with its heading, in the report's order.
    static const std::pair<const char*, const char*> fields[] = { { "numericId", "SourceRefField0" },
        { "type", "SourceRefField1" }, { "abbreviatedTitle", "SourceRefField2" }, { "title", "SourceRefField3" },
        { "author", "SourceRefField4" }, { "publisher", "SourceRefField5" }, { "date", "SourceRefField6" },
        { "location", "SourceRefField7" }, { "notes", "SourceRefField8" } };
    for (const auto& [key, label] : fields) {
        const QString value = fieldText(source, QString::fromLatin1(key));
        if (value.isEmpty())
            continue;
        cursor.insertText(QStringLiteral("\n\n%1: \n").arg(FTManagedObject::capitalized(L(label))), heading);
        cursor.insertText(value, plain);
    }

    // By the cited person's name (citations of no person first), each name read once.
    std::vector<std::pair<QString, FTSourceRel*>> citations;
    for (FTSourceRel* c : source->sourceRels())
        citations.emplace_back(c->person() ? c->person()->name() : QString(), c);
    std::stable_sort(citations.begin(), citations.end(), [](const auto& a, const auto& b) {
        if (const int c = a.first.compare(b.first, Qt::CaseInsensitive))
            return c < 0;
        return a.first < b.first;
    });
    if (!citations.empty())
        cursor.insertText(QStringLiteral("\n\n%1\n").arg(L("References")), heading);
    bool first = true;
    for (const auto& [name, citation] : citations) {
        cursor.insertText((first ? QStringLiteral("\n") : QStringLiteral("\n\n")) + citationLine(citation), cited);
        first = false;
        if (const QString notes = citation->notes(); !notes.trimmed().isEmpty()) {
            cursor.insertText(QStringLiteral("\n%1:").arg(L("CitationNotes")), notesLabel);
            cursor.insertText(QStringLiteral("\n%1\n").arg(notes), plain);
        }
    }
    cursor.insertText(QStringLiteral("\n\n"), plain);
    return doc;
}

QString SourceReferencesReport::print(const FTSource* source, const QDateTime& now)
{
    if (!source || source->isDeleted() || !source->moc())
        return {};
    QString error;
    const QString name = QStringLiteral("%1_%2").arg(source->moc()->modelName(), L("LatestChangesFilename"));
    const QString path = writeNewReportFile(
        name, QStringLiteral("rtf"), Utils::encodeRTFwithPictures(*document(source, now)).toLatin1(), &error);
    if (path.isEmpty()) {
        Prompts::current().message(error);
        return {};
    }
    Utils::displayFile(path, QStringLiteral("defaultRtfApp"));
    return path;
}
