#include "shell/Utils.h"

#include "shell/BackupPanel.h"
#include "shell/UtilsFunctions.h"

#include "model/FTMoc.h"
#include "model/UtilsPics.h"

#include "platform/FTLog.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"
#include "platform/store/ObjectContext.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
const QString kDataFolderName = QStringLiteral("KinloomData");

// A folder inside the data folder, made (one level only) when it is missing.
// Empty when there is no data folder (the reason has been shown).
QString subfolder(const QString& name)
{
    const QString data = Utils::KinloomDataDirectory();
    if (data.isEmpty())
        return {};
    const QString path = QStringLiteral("%1/%2").arg(data, name);
    QFileInfo fi(path);
    if (!fi.isDir())
        QDir().mkdir(path);
    return path;
}

void tell(const QString& text) { Prompts::current().message(text); }
}

QString Utils::KinloomDataDirectory()
{
    auto& defaults = UserDefaults::standard();
    const QString key = QStringLiteral("KinloomDataDirectory");
    QString path = defaults.stringForKey(key);
    if (path.isEmpty()) {
        path = QStringLiteral("%1/%2").arg(QDir::homePath(), kDataFolderName);
        defaults.setString(key, path);
        return path;
    }
    QFileInfo fi(path);
    if (fi.exists() && !fi.isDir()) {
        tell(QStringLiteral("%1 should be a FOLDER but found a FILE instead. Please report this error to %2")
                 .arg(kDataFolderName, Utils::supportEmailAddress()));
        return {};
    }
    if (!fi.exists())
        tell(QStringLiteral("You appear to have moved the folder called %1 - probably using your file manager.\n\n"
                            "Please Quit from Kinloom and use your file manager to move it back to be a child of "
                            "your Home folder.\n\n"
                            "In future please use the Kinloom menu option File -> FF.\n\n"
                            "You may also need to delete the Kinloom settings file at %2")
                 .arg(kDataFolderName, QDir::homePath() + "/.config/Kinloom/Kinloom.conf"));
    return path;
}

QString Utils::reportsDirectory() { return subfolder(QStringLiteral("Reports")); }
QString Utils::backupsDirectory() { return subfolder(QStringLiteral("Backups")); }
// The model places picture files there itself, so the model owns the folder.
QString Utils::picturesDirectory() { return UtilsPics::picturesDirectory(); }
QString Utils::tempDirectory() { return subfolder(QStringLiteral("temp")); }

QString Utils::uniquePathInFolder(const QString& folder, const QString& name, const QString& extension,
                                  int lastNumber, QString* error)
{
    if (folder.isEmpty()) {
        if (error)
            *error = QStringLiteral("There is no folder for %1.%2").arg(name, extension);
        return {};
    }
    QString path = QStringLiteral("%1/%2.%3").arg(folder, name, extension);
    for (qint64 n = 1; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n) {
        if (lastNumber >= 0 && n > lastNumber) {
            if (error)
                *error = QStringLiteral("Every name from %1.%2 to %1_%3.%2 is already taken in %4. "
                                        "Please move or delete some of those files and try again.")
                             .arg(name, extension, QString::number(lastNumber), folder);
            return {};
        }
        path = QStringLiteral("%1/%2_%3.%4").arg(folder, name, QString::number(n), extension);
    }
    if (error)
        error->clear();
    return path;
}

QString Utils::safeFileName(const QString& text, const QString& fallback, int maxBytes)
{
    QString name = text;
    name.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    name = replaceForwardSlashInString(name).simplified();
    qsizetype lead = 0;
    while (lead < name.size() && (name[lead] == QLatin1Char('.') || name[lead].isSpace()))
        ++lead;
    name.remove(0, lead);
    if (name.toUtf8().size() > maxBytes) {
        // Cut by whole characters: a surrogate pair stays together.
        qsizetype bytes = 0, end = 0;
        while (end < name.size()) {
            const qsizetype step = name[end].isHighSurrogate() && end + 1 < name.size() ? 2 : 1;
            const qsizetype size = name.mid(end, step).toUtf8().size();
            if (bytes + size > maxBytes)
                break;
            bytes += size;
            end += step;
        }
        name.truncate(end);
        name = name.trimmed();
    }
    return name.isEmpty() ? fallback : name;
}

QString Utils::createReportFileName(const QString& name, const QString& extension)
{
    return uniquePathInFolder(reportsDirectory(), safeFileName(name, QStringLiteral("Report")), extension, -1);
}

QString Utils::createReportFileName(const QString& databaseName, const QString& reportName, const QString& extension)
{
    return createReportFileName(QStringLiteral("%1_%2").arg(databaseName, reportName), extension);
}

QString CreateUniquePathNameForNewModel(const QString& name, const QString& kind)
{
    QString extension;
    if (kind.compare(QLatin1String("SQL"), Qt::CaseInsensitive) == 0)
        extension = QStringLiteral("RezUdu");
    else if (kind.compare(QLatin1String("GED"), Qt::CaseInsensitive) == 0)
        extension = QStringLiteral("GED");
    else {
        Prompts::current().message(
            QStringLiteral("CreateUniquePathNameForNewModel : unrecognised file type: %1").arg(kind));
        return {};
    }
    const QString folder = Utils::KinloomDataDirectory();
    if (folder.isEmpty())
        return {};
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    // A database still being built under its temporary name holds its final name too.
    for (int n = 0; n <= 1000; ++n) {
        const QString path = n == 0 ? QStringLiteral("%1/%2.%3").arg(folder, name, extension)
                                    : QStringLiteral("%1/%2_%3.%4").arg(folder, name, QString::number(n), extension);
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink() && !QFileInfo::exists(Utils::partialDatabasePath(path)))
            return path;
    }
    Prompts::current().message(QStringLiteral("Every name from %1.%2 to %1_1000.%2 is already taken in %3. Please "
                                              "move or delete some of those files and try again.")
                                   .arg(name, extension, folder));
    return {};
}

QString Utils::partialDatabasePath(const QString& databasePath)
{
    return databasePath + QStringLiteral(".part");
}

bool Utils::moveDatabaseIntoPlace(const QString& partialPath, const QString& databasePath, QString* error)
{
    const QByteArray from = QFile::encodeName(partialPath);
    const QByteArray to = QFile::encodeName(databasePath);
    const auto failed = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("The new database could not be put in place as \"%1\": %2")
                         .arg(QDir::toNativeSeparators(databasePath), why);
        return false;
    };
    // Every page on the disk before the name: the build may have written without syncs.
    const int fd = ::open(from.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    ::close(fd);
    if (!synced)
        return failed(QString::fromLocal8Bit(std::strerror(syncError)));
    // Never over a file made meanwhile under that name.
    int rc = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without that kind of rename: a second name that cannot replace anything, then the first goes.
        rc = ::link(from.constData(), to.constData());
        if (rc == 0)
            ::unlink(from.constData());
    }
    if (rc != 0)
        return failed(errno == EEXIST ? QStringLiteral("a file of that name has been made meanwhile")
                                      : QString::fromLocal8Bit(std::strerror(errno)));
    // The new name on the disk too.
    const int folder = ::open(QFile::encodeName(QFileInfo(databasePath).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

QStringList Utils::removeOrphanedPartialDatabases(const QString& folder)
{
    QStringList removed;
    if (folder.isEmpty())
        return removed;
    const QFileInfoList partials = QDir(folder).entryInfoList({QStringLiteral("*.RezUdu.part")},
                                                              QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : partials) {
        const QString path = info.absoluteFilePath();
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        // The program building it holds it locked (its store does): then it is not an orphan.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (QFile::remove(path)) {
                QFile::remove(path + QStringLiteral("-journal"));
                // The lock file of its store, stale now that the lock on the file itself was free.
                QFile::remove(QStringLiteral("%1/.%2.lock").arg(info.absolutePath(), info.fileName()));
                removed << path;
                FTLog(QStringLiteral("Removed the partial database %1 left by a build that did not finish").arg(path));
            }
        }
        ::close(fd);
    }
    return removed;
}

QString Utils::proposedBackupPath(const QString& databasePath)
{
    const QString name = QFileInfo(databasePath).completeBaseName();
    const QString folder = backupsDirectory();
    if (folder.isEmpty())
        return {};
    for (int n = 1; n <= 99; ++n) {
        const QString path = QString::asprintf("%s/%s_Backup%02d.RezUdu", qPrintable(folder), qPrintable(name), n);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
    tell(QStringLiteral("You already have the maximum of 99 backups of %1").arg(name));
    return {};
}

QString Utils::backupsFolderSummary()
{
    const QString folder = backupsDirectory();
    const QFileInfoList files = folder.isEmpty() ? QFileInfoList() : QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    qint64 bytes = 0;
    for (const QFileInfo& fi : files)
        bytes += fi.size();
    const int count = int(files.size());
    return QStringLiteral("The Kinloom Backups folder contains %1 file%2 totalling %3 Mb")
        .arg(count)
        .arg(count > 1 ? QStringLiteral("s") : QString())
        .arg(QString::asprintf("%0.0f", double(bytes) / 1048576.0));
}

bool Utils::panelUserEnteredFilename(const QString& path)
{
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        tell(QStringLiteral("Kinloom cannot overwrite an existing backup file."));
        return false;
    }
    return true;
}

bool Utils::copyDatabaseToBackup(const QString& databasePath, const QString& backupPath)
{
    if (QFileInfo::exists(backupPath) || QFileInfo(backupPath).isSymLink()) {
        tell(QStringLiteral("Kinloom cannot overwrite an existing file."));
        return false;
    }
    // SQLite's own copy: consistent even while another connection writes, on the disk before it counts as made,
    // and never over a file that appeared meanwhile.
    QString reason;
    if (!ObjectContext::backupStore(databasePath, backupPath, &reason)) {
        tell(QStringLiteral("Unable to backup the database for:\n%1\n\nReason: %2").arg(databasePath, reason));
        return false;
    }
    return true;
}

bool Utils::backupCurrentModel(const QString& databasePath, BackupPanel& panel)
{
    const QString name = QFileInfo(databasePath).completeBaseName();
    const QString proposed = proposedBackupPath(databasePath);
    if (proposed.isEmpty())
        return false;
    QString chosen = panel.run(QStringLiteral("Save Backup of %1").arg(name), backupsFolderSummary(),
                               backupsDirectory(), QFileInfo(proposed).fileName());
    if (chosen.isEmpty())
        return false;
    if (!chosen.endsWith(QLatin1String(".RezUdu")))
        chosen += QLatin1String(".RezUdu");
    return copyDatabaseToBackup(databasePath, chosen);
}

QString Utils::saveBeforeBackup(FTMoc& moc)
{
    QString error;
    if (moc.saveMoc(&error))
        return {};
    return QStringLiteral("The latest changes to \"%1\" could not be saved:\n%2\n\nA backup copies the database as it "
                          "is on the disk, so it would not hold them.")
        .arg(QFileInfo(moc.databaseURL()).completeBaseName(),
             error.isEmpty() ? QStringLiteral("An unexpected error stopped the save.") : error);
}

bool Utils::displayFile(const QString& path, const QString& application, const QString& anchor,
                        const QString& failure)
{
    QString app = application;
    if (app == QLatin1String("defaultRtfApp"))
        app = UserDefaults::standard().stringForKey(QStringLiteral("rtfApplication"));
    const QString text = !failure.isEmpty()
                             ? failure.arg(QDir::toNativeSeparators(path))
                             : QStringLiteral("Unable to open file:\n\n %1\n\n with Application\n\n %2").arg(path, app);
    QString error;
    const bool ok = app.isEmpty() ? Workspace::shared().openFileAt(path, anchor, &error, [text] { tell(text); })
                                  : Workspace::shared().openFile(path, app, &error);
    if (ok)
        return true;
    tell(text);
    return false;
}

QStringList Utils::applicationsThatOpenFile(const QString& path)
{
    QString file = path;
    if (file.endsWith(QLatin1String(" alias")))
        file.chop(6);
    if (!QFileInfo::exists(file))
        return {};
    const Workspace& ws = Workspace::shared();
    QStringList apps = ws.applicationsForFile(file);
    std::sort(apps.begin(), apps.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    apps.removeDuplicates();
    const QString def = ws.defaultApplicationForFile(file);
    if (!def.isEmpty()) {
        apps.removeAll(def);
        apps.prepend(def);
    }
    return apps;
}

namespace {
QStringList applicationsForTestFile(const QString& name, const QByteArray& content)
{
    const QString folder = Utils::reportsDirectory();
    if (folder.isEmpty())
        return {};
    const QString path = QStringLiteral("%1/%2").arg(folder, name);
    bool made = false;
    if (!QFileInfo::exists(path)) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly) || f.write(content) != content.size())
            return {};
        made = true;
    }
    const QStringList apps = Utils::applicationsThatOpenFile(path);
    if (made)
        QFile::remove(path);
    return apps;
}
}

QStringList Utils::rtfApplications()
{
    return applicationsForTestFile(QStringLiteral("rtfTestFile.rtf"),
                                   "{\\rtf1\\mac\\ansicpg10000 \\deff0 \r\n{\\fonttbl\r\n"
                                   "{\\f0\\froman\\fcharset77 Times New Roman;}\r\n}\r\n}}");
}

QStringList Utils::csvApplications() { return applicationsForTestFile(QStringLiteral("csvTestFile.csv"), {}); }

void Utils::cleanTheRtfString(QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 4);
    auto unicodeEscape = [&out](char16_t unit) {
        // RTF reads \uN as a signed 16-bit number: units above 32767 are written negative.
        const int value = unit > 32767 ? int(unit) - 65536 : int(unit);
        out += QStringLiteral("\\uc0\\u%1 ").arg(value);
    };
    for (QChar c : std::as_const(text)) {
        const char16_t u = c.unicode();
        if (u == '{' || u == '}')
            out += ' ';
        else if (u == '\\')
            out += QStringLiteral("\\\\");
        else if (u == '"' || u > 127)
            unicodeEscape(u);  // a character outside the basic plane goes as its two surrogate units
        else
            out += c;
    }
    text = out;
}

namespace {
// RTF text for a rich-text fragment: control characters escaped, not blanked, since here the braces are
// the user's own text.
QString escapeRichText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}')
            out += '\\' + QString(c);
        else if (u == '\t')
            out += QStringLiteral("\\tab ");
        else if (u == QChar::LineSeparator || u == '\n')
            out += QStringLiteral("\\line ");
        else if (u == QChar::Nbsp)
            out += QStringLiteral("\\~");
        else if (u == '\f')
            out += QStringLiteral("\\page ");
        else if (u > 127)
            out += QStringLiteral("\\uc0\\u%1 ").arg(u > 32767 ? int(u) - 65536 : int(u));
        else if (u >= 32)
            out += c;
    }
    return out;
}

int twips(qreal points) { return qRound(points * 20.0); }
}

QString Utils::encodeRTFwithPictures(const QTextDocument& document)
{
    constexpr int kTextWidth = 9000;  // twips
    QStringList fonts;
    QList<QColor> colours;
    auto fontIndex = [&fonts](const QString& family) {
        const QString f = family.isEmpty() ? QStringLiteral("Times New Roman") : family;
        qsizetype i = fonts.indexOf(f);
        if (i < 0) {
            fonts << f;
            i = fonts.size() - 1;
        }
        return int(i);
    };
    auto colourIndex = [&colours](const QColor& c) {
        qsizetype i = colours.indexOf(c.toRgb());
        if (i < 0) {
            colours << c.toRgb();
            i = colours.size() - 1;
        }
        return int(i + 1);  // entry 0 is the automatic colour
    };
    fontIndex(document.defaultFont().family());

    // One paragraph's formatting and text, without its ending.
    auto writeBlock = [&](const QTextBlock& block, bool inTable) {
        QString out;
        const QTextBlockFormat bf = block.blockFormat();
        out += QStringLiteral("\\pard");
        if (inTable)
            out += QStringLiteral("\\intbl");
        const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter)
            out += QStringLiteral("\\qc");
        else if (a & Qt::AlignRight)
            out += QStringLiteral("\\qr");
        else if (a & Qt::AlignJustify)
            out += QStringLiteral("\\qj");
        const qreal left = bf.leftMargin() + bf.indent() * document.indentWidth();
        if (left > 0)
            out += QStringLiteral("\\li%1").arg(twips(left));
        if (bf.rightMargin() > 0)
            out += QStringLiteral("\\ri%1").arg(twips(bf.rightMargin()));
        if (bf.textIndent() != 0)
            out += QStringLiteral("\\fi%1").arg(twips(bf.textIndent()));
        if (bf.topMargin() > 0)
            out += QStringLiteral("\\sb%1").arg(twips(bf.topMargin()));
        if (bf.bottomMargin() > 0)
            out += QStringLiteral("\\sa%1").arg(twips(bf.bottomMargin()));
        out += ' ';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat cf = fragment.charFormat();
            if (cf.isImageFormat()) {
                const QTextImageFormat image = cf.toImageFormat();
                const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(image.name()));
                QImage picture = resource.value<QImage>();
                if (picture.isNull())
                    picture.loadFromData(resource.toByteArray());
                if (picture.isNull())
                    picture.load(image.name());
                if (picture.isNull())
                    continue;
                QByteArray jpeg;
                QBuffer buffer(&jpeg);
                buffer.open(QIODevice::WriteOnly);
                picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPEG", 100);
                // A picture shown at a size of its own keeps it (points) in the word processor.
                QString goal;
                if (image.width() > 0 && image.height() > 0)
                    goal = QStringLiteral("\\picwgoal%1\\pichgoal%2 ").arg(twips(image.width())).arg(twips(image.height()));
                out += QStringLiteral("{\\*\\shppict {\\pict %1\\jpegblip %2}}").arg(goal, hexadecimalRepresentation(jpeg));
                continue;
            }
            const QFont font = cf.font();
            QString group = QStringLiteral("{\\f%1").arg(fontIndex(font.family()));
            const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : document.defaultFont().pointSizeF();
            if (points > 0)
                group += QStringLiteral("\\fs%1").arg(qRound(points * 2));
            if (font.bold())
                group += QStringLiteral("\\b");
            if (font.italic())
                group += QStringLiteral("\\i");
            if (font.underline())
                group += QStringLiteral("\\ul");
            if (font.strikeOut())
                group += QStringLiteral("\\strike");
            if (cf.hasProperty(QTextFormat::ForegroundBrush) && cf.foreground().style() != Qt::NoBrush)
                group += QStringLiteral("\\cf%1").arg(colourIndex(cf.foreground().color()));
            // Word reads the shading pattern, other word processors the older character background.
            if (cf.hasProperty(QTextFormat::BackgroundBrush) && cf.background().style() != Qt::NoBrush)
                group += QStringLiteral("\\chcbpat%1\\cb%1").arg(colourIndex(cf.background().color()));
            out += group + ' ' + escapeRichText(fragment.text()) + '}';
        }
        return out;
    };

    // A table row's definition: each cell's borders and right edge (twips from the row's left).
    auto rowDefinition = [&](const QTextTable* table, int row) {
        const QTextTableFormat tf = table->format();
        const int columns = table->columns();
        const QList<QTextLength> widths = tf.columnWidthConstraints();
        const int padding = twips(tf.cellPadding());
        QString out = QStringLiteral("\\trowd\\trgaph%1\\trleft0").arg(padding);
        out += QStringLiteral("\\trpaddl%1\\trpaddr%1\\trpaddt%1\\trpaddb%1\\trpaddfl3\\trpaddfr3\\trpaddft3\\trpaddfb3")
                   .arg(padding);
        // Fixed widths are the window's; a page is narrower than a window can be. A row wider than the text
        // width that every common paper leaves between its margins (9,000 twips) would run off the printed page,
        // so the widest column gives up the excess and narrow columns (pictures) keep their size.
        QList<int> columnWidths;
        for (int c = 0; c < columns; ++c) {
            int width = kTextWidth / std::max(1, columns);
            if (c < widths.size() && widths[c].type() == QTextLength::FixedLength)
                width = twips(widths[c].rawValue());
            else if (c < widths.size() && widths[c].type() == QTextLength::PercentageLength)
                width = qRound(kTextWidth * widths[c].rawValue() / 100);
            columnWidths << width;
        }
        const int total = std::accumulate(columnWidths.begin(), columnWidths.end(), 0);
        if (total > kTextWidth && !columnWidths.isEmpty()) {
            int& widest = *std::max_element(columnWidths.begin(), columnWidths.end());
            widest = std::max(widest / 2, widest - (total - kTextWidth));
        }
        int right = 0;
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(row, c);
            const QTextTableCellFormat cf = cell.format().toTableCellFormat();
            auto side = [&](const char* word, QTextFormat::Property property) {
                const qreal width = cf.hasProperty(property) ? cf.doubleProperty(property) : tf.border();
                if (width > 0)
                    out += QStringLiteral("\\clbrdr%1\\brdrs\\brdrw%2").arg(QLatin1String(word)).arg(twips(width));
            };
            side("t", QTextFormat::TableCellTopBorder);
            side("l", QTextFormat::TableCellLeftBorder);
            side("b", QTextFormat::TableCellBottomBorder);
            side("r", QTextFormat::TableCellRightBorder);
            right += columnWidths[c] * std::max(1, cell.columnSpan());
            out += QStringLiteral("\\cellx%1").arg(right);
        }
        return out + '\n';
    };

    QString body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            body += QStringLiteral("\\page\n");
        QTextCursor at(block);
        const QTextTable* table = at.currentTable();
        const QTextTableCell cell = table ? table->cellAt(block.position()) : QTextTableCell();
        if (!cell.isValid()) {
            body += writeBlock(block, false);
            if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
                body += QStringLiteral("\\page");
            if (block.next().isValid())
                body += QStringLiteral("\\par\n");
            continue;
        }
        if (block.position() == cell.firstPosition() && cell.column() == 0)
            body += rowDefinition(table, cell.row());
        body += writeBlock(block, true);
        if (block.position() + block.length() - 1 < cell.lastPosition()) {
            body += QStringLiteral("\\par\n");
            continue;
        }
        body += QStringLiteral("\\cell\n");
        if (cell.column() + cell.columnSpan() >= table->columns()) {
            body += QStringLiteral("\\row\n");
            // The paragraph after a table is the document's own again.
            if (!block.next().isValid())
                body += QStringLiteral("\\pard ");
        }
    }

    QString rtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\n{\\fonttbl");
    for (qsizetype i = 0; i < fonts.size(); ++i)
        rtf += QStringLiteral("{\\f%1\\fnil %2;}").arg(i).arg(escapeRichText(fonts[i]));
    rtf += QStringLiteral("}\n{\\colortbl;");
    for (const QColor& c : std::as_const(colours))
        rtf += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
    rtf += QStringLiteral("}\n");
    return rtf + body + QStringLiteral("}");
}
