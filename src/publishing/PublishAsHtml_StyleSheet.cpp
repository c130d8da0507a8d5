// The site's one style sheet: the rules of the index pages, then those of the person pages. Class names are the
// texts of the "css..." keys, as on the pages.

#include "publishing/PublishAsHtml.h"

#include "publishing/HtmlWords.h"

#include "platform/Localizer.h"

#include <algorithm>

namespace {
const QString& L(const char* key)
{
    return htmlWord(key);
}
QString N(int n)
{
    return QString::number(n);
}

// The table rules, each filled with the class and then its values in order.
const QLatin1String kH0("table.%1\n{\n-webkit-text-size-adjust:200%;\nfont-family:       %2;\nfont-weight:       "
                        "normal;\nfont-size:         %3px;\ncolor:             #404040;\nwidth:             %4px;\n"
                        "border:            %5px solid #CEDCEA;\nborder-collapse:   collapse;\nborder-spacing:    0px;\n"
                        "margin-top:        0px;\n}\n\n");
const QLatin1String kH20("table.%1\n{\n-webkit-text-size-adjust:200%;\nfont-family:       %2;\nfont-weight:       "
                         "normal;\nfont-size:         %3px;\ncolor:             #404040;\nwidth:             %4px;\n"
                         "border:            %5px solid #CEDCEA;\nborder-collapse:   collapse;\nborder-spacing:    0px;\n"
                         "margin-top:        20px;\n}\n\n");
const QLatin1String kH10("table.%1\n{\n-webkit-text-size-adjust:200%;\nfont-family:       %2;\nfont-weight:       "
                         "normal;\nfont-size:         %3px;\ncolor:             #404040;\nwidth:             %4px;\n"
                         "border:            %5px solid #CEDCEA;\nborder-collapse:   collapse;\nborder-spacing:    0px;\n"
                         "margin-top:        10px;\n}\n\n");
const QLatin1String kHFull("table.%1\n{\n-webkit-text-size-adjust:200%;\nfont-family:       %2;\nfont-weight:       "
                           "normal;\nfont-size:         %3px;\ncolor:             #404040;\nwidth:             100%;\n"
                           "border:            %4px solid #CEDCEA;\nborder-collapse:   collapse;\nborder-spacing:    0px;\n"
                           "margin-top:        20px;\n}\n\n");
const QLatin1String kHRel("table.%1\n{\n-webkit-text-size-adjust:200%;\nfont-family:       %2;\nfont-weight:       "
                          "normal;\nfont-size:         %3px;\ncolor:             #404040;\nwidth:             %4px;\n"
                          "border:            3px solid #CEDCEA;\nborder-collapse:   collapse;\nborder-spacing:    0px;\n"
                          "margin-top:        20px;\n}\n\n");
const QLatin1String kHEv("table.%1\n{\n-webkit-text-size-adjust:200%;\nfont-family:       %2;\nfont-weight:       "
                         "normal;\nfont-size:         %3px;\ncolor:             #404040;\nwidth:             %4px;\n"
                         "border-left:       %5px solid #CEDCEA;\nborder-right:      %6px solid #CEDCEA;\n"
                         "border-bottom:     %7px solid #CEDCEA;\nborder-collapse:   collapse;\n"
                         "border-spacing:    0px;\nmargin-top:        20px;\n}\n\n");
const QLatin1String kIHead("table.%1\n{\nfont-family:       %2;\nfont-weight:       normal;\nfont-size:         %3px;\n"
                           "color:             #404040;\nwidth:\t\t\t\t\t%4px;\nbackground-color:  #%5;\n"
                           "border:            0px;\nborder-collapse:   collapse;\nborder-spacing:    10px;\n"
                           "margin-top:        20px;\n}\n\n");
const QLatin1String kINames("table.%1\n{\nfont-family:       %2;\nfont-weight:       normal;\nfont-size:         %3px;\n"
                            "color:             #404040;\nwidth:             %4px;\nbackground-color:  #%5;\n"
                            "border:            3px solid #CEDCEA;\nborder-collapse:   collapse;\n"
                            "border-spacing:    10px;\nmargin-top:        20px;\n}\n\n");
const QLatin1String kIPeople("table.%1\n{\nfont-family:       %2;\nfont-weight:       normal;\nfont-size:         %3px;\n"
                             "color:             #404040;\nwidth:\t\t\t\t\t%4px;\nbackground-color:  #%5;\n"
                             "border-collapse:   collapse;\nborder-spacing:    10px;\nmargin-top:        10px;\n}\n\n");

const QLatin1String kCellsCentred3("table.%1 td\n{\nborder:            3px solid #CEDCEA;\ntext-align:        center;\n"
                                   "padding:           3px;\n}\n\n");
const QLatin1String kCellsAligned("table.%1 td\n{\ntext-align:        %2;\n}\n\n");
const QLatin1String kHeaderCells("table.%1 td.%2\n{\nbackground-color:  #CEDCEA;\ntext-align:        center;\n"
                                 "font-weight:       bold;\n}\n\n");
const QLatin1String kBoldCells("table.%1 td.%2\n{\nfont-weight:       bold;\n}\n\n");
const QLatin1String kLeftCells("table.%1 td.%2\n{\ntext-align:        left;\n}\n\n");
const QLatin1String kPlainCells("table.%1 td.%2\n{\n}\n\n");

QString comment(const char* key)
{
    return QStringLiteral("/* %1 */\n").arg(L(key));
}

// A font name as a CSS value: nothing that would end the declaration or the rule.
QString cssValue(QString text)
{
    for (QChar& c : text)
        if (c == QLatin1Char(';') || c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('<')
            || c == QLatin1Char('>') || c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return text;
}
} // namespace

void PublishAsHtml::writeStyleSheetForIndexes(QString& out) const
{
    const QString face = cssValue(m_options.defaultFontFace);
    const QString size = N(m_options.defaultFontSize);
    const QString iwidth = N(std::min(m_options.cdDiagramWidth, 750));
    const QString isize = N(m_options.oneColumnIndexForiPhone ? 14 : m_options.defaultFontSize);
    const QString align = m_options.centeredOnPage ? QStringLiteral("center") : QStringLiteral("left");
    const QString background = QStringLiteral("F8FFFF");

    out += comment("cssIndexHeadingTitle");
    const QString heading = L("cssIndexHeading");
    out += QString(kIHead).arg(heading, face, size, iwidth, background);
    out += QStringLiteral("table.%1 td\n{\nborder:            0px;\ntext-align:        center;\npadding:           3px;\n"
                          "}\n\n")
               .arg(heading);
    out += QString(kLeftCells).arg(heading, L("cssHomeLine"));
    out += QStringLiteral("table.%1 td.%2\n{\nfont-weight:       bold;\ntext-align:        %3;\n"
                          "font-size:         14px;\n}\n\n")
               .arg(heading, L("cssPersonName"), align);

    out += comment("cssFamilyNamesTitle");
    const QString names = L("cssFamilyNamesTable");
    out += QString(kINames).arg(names, face, isize, iwidth, background);
    out += QString(kCellsCentred3).arg(names);
    out += QString(kHeaderCells).arg(names, L("cssHeader"));

    out += comment("cssPeopleIndexTableTitle");
    const QString people = L("cssPeopleIndexTable");
    out += QString(kIPeople).arg(people, face, isize, iwidth, background);
    out += QStringLiteral("table.%1 td\n{\ntext-align:        left;\npadding:           3px;\n}\n\n").arg(people);
}

bool PublishAsHtml::writeStyleSheet()
{
    QString out;
    writeStyleSheetForIndexes(out);

    const QString face = cssValue(m_options.defaultFontFace);
    const QString size = N(m_options.defaultFontSize);
    const QString width = N(m_options.cdDiagramWidth);
    const QString align = m_options.centeredOnPage ? QStringLiteral("center") : QStringLiteral("left");
    const QString zero = N(0);

    out += comment("cssPageHeadingTableTitle");
    const QString heading = L("cssPageHeadingTable");
    out += QString(kH0).arg(heading, face, size, width, zero);
    out += QString(kLeftCells).arg(heading, L("cssIndex"));
    out += QStringLiteral("table.%1 td.%2\n{\ntext-align:        %3;\nfont-weight:       bold;\n"
                          "font-size:         16px;\n}\n\n")
               .arg(heading, L("cssPersonName"), align);
    out += QStringLiteral("table.%1 td.%2\n{\ntext-align:        %3;\nfont-weight:       bold;\n"
                          "font-size:         12px;\n}\n\n")
               .arg(heading, L("cssOccupation"), align);

    out += comment("cssContextDiagramTitle");
    const QString diagram = L("cssContextDiagram");
    out += QString(kH20).arg(diagram, face, size, width, N(m_options.cdBorder ? 10 : 1));
    out += QString(kCellsCentred3).arg(diagram);

    out += comment("cssAncestorsTableTitle");
    const QString ancestors = L("cssAncestorsTable");
    out += QString(kHFull).arg(ancestors, face, size, N(m_options.cdBorder ? 5 : 1));
    out += QString(kCellsCentred3).arg(ancestors);

    for (const auto& [title, key] : {std::pair {"cssPicturesTableTitle", "cssPicturesTable"},
                                     std::pair {"cssBDMTableTitle", "cssBDMTable"},
                                     std::pair {"cssPcTableTitle", "cssPcTable"}}) {
        out += comment(title);
        const QString table = L(key);
        out += QString(kH20).arg(table, face, size, width, zero);
        out += QString(kCellsAligned).arg(table, align);
    }

    out += comment("cssRelativesTableTitle");
    const QString relatives = L("cssRelativesTable");
    out += QString(kHRel).arg(relatives, face, size, width);
    out += QStringLiteral("table.%1 td\n{\nborder:            2px solid #CEDCEA;\ntext-align:        left;\n"
                          "padding:           1px;\n}\n")
               .arg(relatives);
    out += QString(kHeaderCells).arg(relatives, L("cssRelativesHeader"));
    out += QString(kBoldCells).arg(relatives, L("cssRelativesColumnHeader"));
    out += QStringLiteral("table.%1 td.%2\n{\nfont-size:         5px;\nbackground-color:  #CEDCEA;\n}\n\n")
               .arg(relatives, L("cssRelativesSeparatorLine"));

    out += comment("cssEventsTableTitle");
    const QString events = L("cssEventsTable");
    const QString border = N(m_options.eventsBorder ? 13 : 0);
    out += QString(kHEv).arg(events, face, size, width, border, border, border);
    out += QStringLiteral("table.%1 td\n{\nborder:            2px solid #CEDCEA;\ntext-align:        left;\n"
                          "padding:           3px;\n}\n")
               .arg(events);
    out += QString(kHeaderCells).arg(events, L("cssTableHeader"));
    out += QString(kBoldCells).arg(events, L("cssColumnHeader"));
    out += QString(kPlainCells).arg(events, L("cssDate"));
    out += QStringLiteral("table.%1 td.%2\n{\ntext-align:        center;\nwhite-space:       nowrap;\n}\n\n")
               .arg(events, L("cssAge"));
    out += QString(kPlainCells).arg(events, L("cssName"));
    out += QString(kPlainCells).arg(events, L("cssPlace"));
    out += QString(kPlainCells).arg(events, L("cssNotes"));
    out += QStringLiteral("table.%1 td.%2\n{\ntext-align:        center;\n}\n\n").arg(events, L("cssSourceRefs"));

    out += comment("cssNotesTableTitle");
    const QString notes = L("cssNotesTable");
    out += QString(kH10).arg(notes, face, size, width, zero);
    out += QStringLiteral("table.%1 td\n{\ntext-align:        left;\n}\n\n").arg(notes);

    out += comment("cssPageFooterTitle");
    const QString footer = L("cssPageFooter");
    out += QString(kH0).arg(footer, face, size, width, zero);
    out += QString(kCellsAligned).arg(footer, align);

    const QString path = m_directory + QLatin1Char('/') + L("cssFilename");
    if (!writeFile(path, out))
        return false;
    m_cssFilename = path;
    return true;
}
