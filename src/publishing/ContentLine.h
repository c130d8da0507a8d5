#pragma once

#include <QByteArray>
#include <QString>

// The line rules that calendar (RFC 5545) and contact (RFC 6350) files share: a property is one logical line of
// UTF-8 ended by CR LF, folded so that no physical line holds more than 75 octets, and a text value escapes the
// characters that would otherwise end it.
//
//   out.write(ContentLine::folded("SUMMARY:" + ContentLine::escapedText(summary)));
namespace ContentLine {
// Backslash, semicolon and comma get a backslash before them; a line break (CR LF, CR or LF) becomes "\n".
// Other control characters but the tab go: a calendar or contact reader would refuse the line.
QString escapedText(const QString& text);
// The line as UTF-8 with CR LF after it, broken before it would pass 75 octets, each continuation starting with a
// blank. Breaks fall between characters, never inside one (a UTF-8 sequence or a surrogate pair stays whole).
QByteArray folded(const QString& line);
}
