#pragma once

#include <QString>

class QUrl;

// How text of the family database goes into a web page, so that no stored text ever becomes markup. Every writer of
// published pages (the person pages, the indexes, the page set's home link, map pages, calendars and cards that end
// up on a web site) puts database text through one of these, chosen by where the text lands:
//
//   "<td>" + HtmlEscape::text(person->name()) + "</td>"                   element content, also <title>
//   "<img alt='" + HtmlEscape::attribute(name) + "'/>"                       any quoted attribute value
//   "<!--\nName: " + HtmlEscape::comment(name) + "\n-->"                     inside an HTML comment
//   "<a name='" + HtmlEscape::anchor(family) + "'>"  and  "href='#" + HtmlEscape::anchor(family) + "'"
//   const QString href = HtmlEscape::httpLink(event->googleMapUrl());      empty: write the place without a link
//   HtmlEscape::multiline(person->notes())                                  notes with their line breaks kept
//
// Texts made by the program itself (localised labels, numbers, paths it built) are not escaped, except where they
// are themselves made of database text.
class HtmlEscape {
public:
    // Element content: "&", "<" and ">" become entities. Also right for <title>, whose entities a browser decodes.
    static QString text(const QString& value);
    // A quoted attribute value (single or double quotes): "'" and '"' become entities as well.
    static QString attribute(const QString& value);
    // The inside of an HTML comment: a comment ends or breaks at "--", so every run of hyphens is broken up by
    // blanks; a leading ">" or "-" and a trailing "-" get a blank too. Nothing else changes (entities would not be
    // decoded there).
    static QString comment(const QString& value);
    // A fragment name made from database text (a family name), for `name='…'` targets and `href='#…'` links alike:
    // ASCII letters, digits and "-" stay, every other UTF-16 unit becomes "_" and four upper-case hexadecimal
    // digits ("O'Brien" -> "O_0027Brien", "Müller" -> "M_00FCller"). Distinct texts give distinct names, and a
    // name needs no further escaping in a URL or an attribute. An empty text gives "_".
    static QString anchor(const QString& value);
    // A link taken from data, ready for a quoted href: the URL fully encoded and escaped for an attribute when its
    // scheme is http or https and it names a host; empty for anything else ("javascript:", "file:", "data:",
    // relative or unparsable text), so that the caller writes no link at all.
    static QString httpLink(const QUrl& url);
    static QString httpLink(const QString& url);
    // Multi-line text as element content: trimmed of blanks and line breaks at both ends, escaped as text(), CR LF
    // taken as one break, and every CR, LF, U+2028 and U+2029 written as a line feed followed by "<br/>". A null
    // text stays null.
    static QString multiline(const QString& value);
};
