#pragma once

#include <QAnyStringView>
#include <QLatin1StringView>
#include <QStringView>
#include <QtGlobal>

#include <type_traits>

// A short text as one 64-bit number: up to eight characters, each of them Latin-1 and not NUL, one
// byte each. Two such texts are equal exactly when their numbers are, so tags and identifiers (I123,
// F17, BIRT) are compared and looked up as integers, without a string. 0 stands for a text that has
// no such number (empty, longer, or with another character): the caller compares it as text.
class GedRecShortText {
public:
    static constexpr int kMaxLength = 8;

    template <typename Char>
    static quint64 code(const Char* s, qsizetype n)
    {
        if (n <= 0 || n > kMaxLength)
            return 0;
        quint64 c = 0;
        quint32 bad = 0;  // one test at the end: every tag and identifier of a file comes here
        for (qsizetype i = 0; i < n; ++i) {
            const auto u = quint32(s[i]);
            bad |= u - 1 >= 0xFF ? 1 : 0;  // NUL (wraps around) or beyond Latin-1
            c |= quint64(u & 0xFF) << (8 * i);
        }
        return bad ? 0 : c;
    }
    static quint64 code(QStringView s) { return code(s.utf16(), s.size()); }
    static quint64 code(QLatin1StringView s) { return code(reinterpret_cast<const uchar*>(s.data()), s.size()); }
    static quint64 code(QAnyStringView s)
    {
        return s.visit([](auto v) -> quint64 {
            if constexpr (std::is_same_v<decltype(v), QStringView> || std::is_same_v<decltype(v), QLatin1StringView>)
                return code(v);
            else
                return code(QStringView(v.toString()));  // UTF-8: by its characters, as the other forms
        });
    }

    // Spreads the number's bits for a table of 2^bits slots. The high bytes are folded down first:
    // identifiers that differ only in their last characters would otherwise crowd a few slots.
    static quint64 slot(quint64 code, int bits)
    {
        code ^= code >> 29;
        return (code * 0x9E3779B97F4A7C15ull) >> (64 - bits);
    }
};
