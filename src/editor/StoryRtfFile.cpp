#include "editor/StoryRtfFile.h"

#include "editor/StoryGenerator.h"

#include "shell/Utils.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

QString StoryRtfFile::pathFor(const FTPerson* person, const QString& reportsFolder)
{
    const QString story = LocalizedString(QStringLiteral("StoryOf"));
    const QString name = Utils::safeFileName(story + person->nameWithBirthAndDeathYears(), story.trimmed());
    return QStringLiteral("%1/%2.rtf").arg(reportsFolder, name);
}

bool StoryRtfFile::write(const QTextDocument& story, const QString& path, QString* error)
{
    // The page lays the story out in screen pixels, RTF measures in points: margins and indents keep their
    // size against the text.
    const std::unique_ptr<QTextDocument> copy(story.clone());
    const double scale = 1.0 / StoryGenerator::pixelsPerPoint();
    copy->setIndentWidth(story.indentWidth() * scale);
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat f = block.blockFormat();
        f.setLeftMargin(f.leftMargin() * scale);
        f.setRightMargin(f.rightMargin() * scale);
        f.setTextIndent(f.textIndent() * scale);
        f.setTopMargin(f.topMargin() * scale);
        f.setBottomMargin(f.bottomMargin() * scale);
        QTextCursor(block).setBlockFormat(f);
    }
    QSaveFile file(path);
    const QByteArray rtf = Utils::encodeRTFwithPictures(*copy).toLatin1();
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
