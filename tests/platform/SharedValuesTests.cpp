#include "platform/store/SharedValues.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// A text in an allocation of its own, as the records' values are.
QString fresh(const char* text)
{
    return QString::fromUtf8(text);
}
}

TEST(SharedValues, EqualShortValuesShareOneCopyAndOthersKeepTheirOwn)
{
    SharedValues<QString> texts;
    using Outcome = SharedValues<QString>::Outcome;
    QString first = fresh("Smith");
    EXPECT_EQ(texts.share(first), Outcome::Added);

    struct Case {
        QString value;
        Outcome outcome;
        bool sharesFirst;
    };
    const QString longText(SharedValues<QString>::kLongest + 1, QLatin1Char('x'));
    std::vector<Case> cases = {
        { fresh("Smith"), Outcome::Shared, true },
        { fresh("Smithe"), Outcome::Added, false },
        { fresh("Smit"), Outcome::Added, false },
        { QString::fromUtf8("Smith\0", 6), Outcome::Added, false },
        { fresh("smith"), Outcome::Added, false },
        { QString(longText.constData(), longText.size()), Outcome::Skipped, false },
        { QString(), Outcome::Skipped, false },
        { fresh(""), Outcome::Skipped, false },
        { QStringLiteral("Smith"), Outcome::Skipped, false },
    };
    for (Case& c : cases) {
        const QString expected(c.value.constData(), c.value.size());
        const bool wasNull = c.value.isNull();
        EXPECT_EQ(texts.share(c.value), c.outcome) << qPrintable(expected);
        EXPECT_EQ(c.value, expected);
        EXPECT_EQ(c.value.isNull(), wasNull);
        EXPECT_EQ(c.value.constData() == first.constData(), c.sharesFirst) << qPrintable(expected);
    }
    EXPECT_EQ(first, QStringLiteral("Smith"));

    SharedValues<QByteArray> blobs;
    QByteArray a("\x01\x00\x02", 3), b("\x01\x00\x02", 3), c("\x01\x00\x03", 3), empty("");
    blobs.share(a);
    EXPECT_EQ(blobs.share(b), SharedValues<QByteArray>::Outcome::Shared);
    EXPECT_EQ(b.constData(), a.constData());
    EXPECT_EQ(blobs.share(c), SharedValues<QByteArray>::Outcome::Added);
    EXPECT_EQ(c, QByteArray("\x01\x00\x03", 3));
    blobs.share(empty);
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty.isEmpty());
}

// A value already holding the table's data is answered without a lookup; one that only starts at the same place
// (cut from it, or a view of it) must still be looked up as the value it is.
TEST(SharedValues, ValuesCutFromASharedOneAreNotTakenForIt)
{
    SharedValues<QString> texts;
    QString whole = fresh("Blackwood");
    texts.share(whole);
    QString again = whole;
    EXPECT_EQ(texts.share(again), SharedValues<QString>::Outcome::Shared);

    QString truncated = whole;
    truncated.truncate(5);
    texts.share(truncated);
    EXPECT_EQ(truncated, QStringLiteral("Black"));

    QString view = QString::fromRawData(whole.constData(), 5);
    texts.share(view);
    EXPECT_EQ(view, QStringLiteral("Black"));

    QString copy = fresh("Black");
    EXPECT_EQ(texts.share(copy), SharedValues<QString>::Outcome::Shared);
    EXPECT_EQ(copy, QStringLiteral("Black"));
    EXPECT_EQ(whole, QStringLiteral("Blackwood"));
}

TEST(SharedValues, EveryValueIsFoundAgainAfterTheTableGrows)
{
    SharedValues<QString> texts;
    std::vector<QString> kept;
    for (int i = 0; i < 20000; ++i) {
        kept.push_back(QStringLiteral("Place %1").arg(i));
        ASSERT_EQ(texts.share(kept.back()), SharedValues<QString>::Outcome::Added) << i;
    }
    for (int i = 0; i < 20000; ++i) {
        QString again = QStringLiteral("Place %1").arg(i);
        ASSERT_EQ(texts.share(again), SharedValues<QString>::Outcome::Shared) << i;
        ASSERT_EQ(again.constData(), kept[size_t(i)].constData()) << i;
    }
    texts.clear();
    QString after = QStringLiteral("Place %1").arg(7);
    EXPECT_EQ(texts.share(after), SharedValues<QString>::Outcome::Added);
}
