#include "platform/store/TextMatch.h"

#include <gtest/gtest.h>

TEST(TextMatch, CaseAndDiacriticInsensitiveOperators)
{
    using namespace TextMatch;
    struct Case {
        const char* op;
        QVariant text;
        const char* pattern;
        bool expected;
        int options = CaseAndDiacriticInsensitive;
    };
    const Case cases[] = {
        { "equals", "Zoë", "ZOE", true },
        { "equals", "Zoë", "ZOE", false, CaseInsensitive },
        { "equals", "Ørsted", "orsted", true },
        { "equals", "Straße", "STRASSE", false },
        { "equals", "Anne", "Anna", false },
        { "contains", "John (Jo) Smith", "(jo", true },
        { "contains", "Bjorn Asmith", " sm", false },
        { "contains", "Müller-Lüdenscheidt", "LUDEN", true },
        { "contains", "Muller", "ü", true },
        { "beginsWith", "Émile Zola", "emi", true },
        { "beginsWith", "Émile Zola", "Zola", false },
        { "endsWith", "Émile Zola", "ZOLA", true },
        { "like", "Smith, John", "smith*", true },
        { "like", "Smith, John", "*JOHN", true },
        { "like", "Smith", "Sm?th", true },
        { "like", "Smyth", "Sm?th", true },
        { "like", "Smith", "Sm?", false },
        { "like", "Smith", "*", true },
        { "like", "", "*", true },
        { "like", "Smith", "", false },
        { "like", "aXbXc", "a*b*c", true },
        { "like", "aXbXd", "a*b*c", false },
        { "like", "Ångström", "ang*strom", true },
        // numbers meet text operators as their decimal text
        { "contains", 1901, "90", true },
        { "beginsWith", 1901, "19", true },
        { "equals", qlonglong(42), "42", true },
        { "like", 1850, "18?0", true },
        { "equals", 2.5, "2.5", true },
        { "equals", QVariant(), "", true },
    };
    for (const Case& c : cases) {
        const QString op = c.op;
        bool got = false;
        if (op == "equals")
            got = equals(c.text, c.pattern, c.options);
        else if (op == "contains")
            got = contains(c.text, c.pattern, c.options);
        else if (op == "beginsWith")
            got = beginsWith(c.text, c.pattern, c.options);
        else if (op == "endsWith")
            got = endsWith(c.text, c.pattern, c.options);
        else
            got = like(c.text, c.pattern, c.options);
        EXPECT_EQ(got, c.expected) << c.op << " '" << qPrintable(c.text.toString()) << "' '" << c.pattern << "'";
    }
}
