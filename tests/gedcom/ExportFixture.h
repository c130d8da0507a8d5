#pragma once

// A family database in a temporary folder with helpers that export it and read the file back.

#include "../model/PeopleFixture.h"

#include "gedcom/ExportToGedcom.h"

#include "model/FTAssociation.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include <QDir>
#include <QFile>

class ExportFixture : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        QDir().mkpath(outDir());
    }

    QString outDir() const { return pathFor("out"); }

    static GedcomExportOptions options() { return GedcomExportOptions(); }

    // Exports through a file in the output folder; answers its bytes (empty when the export failed).
    QByteArray exportFile(const GedcomExportOptions& o = options(), const QSet<FTPerson*>* selection = nullptr,
                          QString* path = nullptr)
    {
        ExportToGedcom exporter(moc.get());
        exporter.setOptions(o);
        exporter.setOutputFolder(outDir());
        exporter.setNow(now);
        exporter.setVersion("1.0");
        if (selection) {
            exporter.setSelectiveExport(true);
            exporter.setSetOfPeopleToExport(*selection);
        }
        if (!exporter.generationThread())
            return {};
        if (path)
            *path = exporter.gedcomFilename();
        QFile f(exporter.gedcomFilename());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    // The lines of the file without the byte-order mark and line ends.
    static QStringList lines(const QByteArray& bytes)
    {
        QString text = QString::fromUtf8(bytes);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        QStringList out = text.split("\r\n");
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }

    // The lines of the level-0 record with the identifier `xref` ("I3"), its own line first.
    static QStringList record(const QStringList& all, const QString& xref)
    {
        QStringList out;
        const QString head = QStringLiteral("0 @%1@ ").arg(xref);
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (!all[i].startsWith(head))
                continue;
            out << all[i];
            for (qsizetype j = i + 1; j < all.size() && !all[j].startsWith("0 "); ++j)
                out << all[j];
            break;
        }
        return out;
    }

    static QString xrefOf(const FTPerson* p) { return QStringLiteral("I%1").arg(p->numericId()); }

    // The moment of every export: the header's date and the privacy rules follow it, never the clock.
    QDateTime now {QDate(2024, 1, 5), QTime(9, 7, 3)};
};
