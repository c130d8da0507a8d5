// Files built to hurt the reader: sizes and repetitions that would make it slow down without end or
// fill memory with messages. Each finishes quickly when the reader is sound.
#include "gedcom/GedRec.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/GedcomTextDecoder.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

constexpr int kMax = GedcomFileReader::kMaxListedMessages;

} // namespace

TEST(GedcomHostileInput, MessagesStopAtTheirLimitWithACount)
{
    // One message per line (empty lines) and one per byte (bad UTF-8): the lists stop at their
    // limit and say how many more there were.
    GedcomFileReader empties;
    ASSERT_TRUE(empties.readData("0 HEAD\n1 CHAR UTF-8\n" + QByteArray(kMax + 10, '\n') + "0 TRLR\n"));
    ASSERT_EQ(empties.errorMessages().size(), kMax + 1);
    EXPECT_EQ(empties.errorMessages().last(), "10 more messages about lines of the file were not listed.");

    GedcomFileReader badBytes;
    ASSERT_TRUE(badBytes.readData("0 HEAD\n1 CHAR UTF-8\n0 @N1@ NOTE " + QByteArray(kMax + 7, '\xFF') + "\n0 TRLR\n"));
    ASSERT_EQ(badBytes.errorMessages().size(), kMax + 1);
    EXPECT_EQ(badBytes.errorMessages().first(), "UTF-8 encoding error in line 3, 1 char = FF");
    EXPECT_EQ(badBytes.errorMessages().last(), "Further character errors were found and not listed.");
    EXPECT_EQ(badBytes.forest().record("N1")->value(), QString(kMax + 7, QChar(0xFFFD)));

    // UTF-16 is decoded whole, with the same limit.
    QByteArray utf16("\xFF\xFE", 2);
    for (char c : QByteArray("0 HEAD\n0 @N1@ NOTE "))
        utf16 += QByteArray(1, c) + '\0';
    utf16 += QByteArray(2 * (kMax + 3), '\0');
    GedcomFileReader zeros;
    ASSERT_TRUE(zeros.readData(utf16));
    ASSERT_EQ(zeros.errorMessages().size(), kMax + 1);
    EXPECT_EQ(zeros.errorMessages().last(), "Further character errors were found and not listed.");
}

TEST(GedcomHostileInput, AnselLetterWithEndlessMarks)
{
    // Composing a letter costs the square of its marks: a line of 200,000 marks keeps 30.
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readData("0 HEAD\n1 CHAR ANSEL\n0 @N1@ NOTE " + QByteArray(200000, '\xE2') + "e\n0 TRLR\n"));
    const QString value = reader.forest().record("N1")->value();
    EXPECT_EQ(value, QString(u'é') + QString(29, QChar(0x0301)));
    EXPECT_EQ(reader.errorMessages(),
              QStringList("ANSEL text in line 3 puts 200000 combining marks on one letter: only the first 30 were kept."));
}

TEST(GedcomHostileInput, ThousandsOfRecordsUnderOneIdentifier)
{
    QByteArray bytes = "0 HEAD\n";
    for (int i = 0; i < 30000; ++i)
        bytes += "0 @I1@ INDI\n1 NAME N" + QByteArray::number(i) + "\n";
    bytes += "0 TRLR\n";
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readData(bytes));
    EXPECT_EQ(reader.forest().size(), 30002);
    EXPECT_EQ(reader.forest().record("I1")->firstSubRecord("NAME")->value(), "N0");
    EXPECT_EQ(reader.forest().record("I1 #30000")->firstSubRecord("NAME")->value(), "N29999");
    EXPECT_EQ(reader.errorMessages().size(), 29999);
}
