#include "tools/TodoNotes.h"

#include "tools/RtfText.h"

#include "shell/RtfWriter.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

TodoNotes::TodoNotes(FTMoc* moc)
    : m_moc(moc)
{
}

void TodoNotes::loadPeopleArray()
{
    m_people.clear();
    if (!m_moc)
        return;
    ReleasingWalk walk(*m_moc);
    m_people = m_moc->fetch<FTPerson>([&walk](const FTPerson* p) {
        walk.releasePoint();
        return !p->todo().trimmed().isEmpty();
    });
    sortByNameWithYears(m_people);
}

void TodoNotes::remove(FTPerson* person)
{
    if (!person)
        return;
    person->setTodo({});
    m_people.removeAll(person);
}

QString TodoNotes::printAll()
{
    const QString path = writeListing();
    // A listing that could not be made is not opened: the message has told why.
    if (!path.isEmpty())
        Utils::displayFile(path, QStringLiteral("defaultRtfApp"));
    return path;
}

QString TodoNotes::writeListing()
{
    if (!m_moc)
        return {};
    RtfWriter writer;
    writer.setFileType(QStringLiteral("rtf"));
    writer.setColourTable(RtfWriter::standardColourTable(8));
    writer.setStyles({});
    writer.setFooter(false);
    if (m_moment.isValid())
        writer.setDateTime(m_moment);
    if (!writer.createOutputFileName(
            QStringLiteral("%1_%2").arg(m_moc->modelName(), LocalizedString(QStringLiteral("ToDoList"))))
        || !writer.openOutputFile() || !writer.printRTFHeader("A4"))
        return {};
    QString out;
    bool first = true;
    for (const FTPerson* p : std::as_const(m_people)) {
        out += first ? QStringLiteral(" \\par \n") : QStringLiteral(" \\par \\par \n");
        first = false;
        // The summary in the default colour, the note in red (colour 6), both at 14 points; user text escaped,
        // its line breaks as paragraph breaks.
        out += QStringLiteral("\\pard\\plain \\f0\\fs28\\cf0 %1 \\par \\par \\pard\\plain \\f0\\fs28\\cf6 %2 \\par \n")
                   .arg(RtfWriter::rtfText(p->nameWithBirthMarriageAndDeathInfo(), true),
                        RtfWriter::rtfText(p->todo().trimmed(), true));
        out += QStringLiteral("\\pard\\plain \\f0\\fs24\\cf0 \\par  ") + QString(72, QLatin1Char('-'));
    }
    out += QLatin1Char('}');
    if (!writer.write(out) || !writer.closeOutputFile())
        return {};
    return writer.outputPath();
}
