#include "publishing/WebPageSets.h"

#include "publishing/HtmlEscape.h"

#include "platform/Localizer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QStringList WebPageSets::pageSetFolders(const QString& folder)
{
    QStringList sets;
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (QFileInfo(entry.filePath() + QStringLiteral("/index.html")).isFile())
            sets << entry.fileName();
    return sets;
}

QString WebPageSets::otherSiteHref(const QString& typed, QString* refusal)
{
    const QString text = typed.trimmed();
    QString href;
    if (text.isEmpty()) {
        if (refusal)
            *refusal = L("EnterUrlAgain");
        return {};
    }
    // A quote would end the href attribute early; the address is refused rather than silently changed.
    if (!text.contains(QLatin1Char('\'')) && !text.contains(QLatin1Char('"')))
        href = HtmlEscape::httpLink(text);
    if (href.isEmpty() && refusal)
        *refusal = L("HomePageUrlRefused");
    return href;
}

QString WebPageSets::otherSiteUrl(const QString& typed)
{
    if (otherSiteHref(typed, nullptr).isEmpty())
        return {};
    return QUrl(typed.trimmed()).toString(QUrl::FullyEncoded);
}

QString WebPageSets::siblingSiteHref(const QString& siteName, const QString& homePage)
{
    const auto part = [](const QString& name) { return QString::fromLatin1(QUrl::toPercentEncoding(name)); };
    return HtmlEscape::attribute(QStringLiteral("../%1/%2").arg(part(siteName), part(homePage)));
}

QString WebPageSets::homeLink(const QString& href)
{
    return QStringLiteral("<a href='%1'>[%2]</a>").arg(href, HtmlEscape::text(L("Home")));
}

WebPageSets::LinkEdit WebPageSets::replaceHomeLink(QString& page, const QString& href)
{
    const QString link = homeLink(href);
    const QString placeholder = QStringLiteral("<a href='%1'>[%2]</a>").arg(L("HomePlaceholder"), L("Home"));
    if (page.contains(placeholder, Qt::CaseInsensitive)) {
        page.replace(placeholder, link, Qt::CaseInsensitive);
        return LinkEdit::Replaced;
    }
    // A page prepared before: its link ends in "[Home]</a>"; the anchor it closes is the last one opened before.
    const QString linkEnd = QStringLiteral("[%1]</a>").arg(HtmlEscape::text(L("Home")));
    const qsizetype end = page.indexOf(linkEnd);
    if (end < 0)
        return LinkEdit::Unchanged;
    const qsizetype start = page.lastIndexOf(QLatin1String("<a href='"), end);
    if (start < 0)
        return LinkEdit::Unchanged;
    const qsizetype length = end + linkEnd.size() - start;
    if (page.mid(start, length) == link)
        return LinkEdit::Unchanged;
    page.replace(start, length, link);
    return LinkEdit::Relinked;
}

WebPageSets::LinkEdit WebPageSets::setHomeLink(const QString& indexPath, const QString& href, QString* error)
{
    QFile in(indexPath);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return LinkEdit::Failed;
    }
    QString page = QString::fromUtf8(in.readAll());
    in.close();
    const LinkEdit edit = replaceHomeLink(page, href);
    if (edit == LinkEdit::Unchanged)
        return edit;
    QSaveFile out(indexPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(page.toUtf8()) < 0 || !out.commit()) {
        if (error)
            *error = out.errorString();
        return LinkEdit::Failed;
    }
    return edit;
}
