#include "widgets/edit_key_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace varelo {
namespace {

struct KeyCase {
    TEditTypes type;
    std::u16string text;
    char16_t key;
    char16_t expected;
};

TEST(TypedKeyFilter, EachTypeLetsThroughOnlyWhatItCanHold) {
    const KeyCase cases[] = {
        // Integer, as the number converter's decimal field uses it.
        {etInteger, u"12", u'7', u'7'},
        {etInteger, u"12", u'a', kRefusedKey},
        {etInteger, u"12", u' ', kRefusedKey},
        {etInteger, u"12", u'+', kRefusedKey},
        {etInteger, u"12", u'.', kRefusedKey},
        {etInteger, u"5", u'-', u'-'},
        {etInteger, u"-12", u'-', kRefusedKey},
        {etInteger, u"12", kBackspaceKey, kBackspaceKey},
        {etInteger, u"12", kEnterKey, kEnterKey},
        {etInteger, u"12", kEscapeKey, kRefusedKey},
        {etInteger, u"12", 9, kRefusedKey},
        {etInteger, u"12", u'#', u'#'},  // the text filter takes it out again
        {etInteger, u"12", u'\'', u'\''},
        // Float with a decimal comma: either mark becomes the comma, once.
        {etFloat, u"3", u'.', u','},
        {etFloat, u"3", u',', u','},
        {etFloat, u"3,4", u'.', kRefusedKey},
        {etFloat, u"3.4", u',', kRefusedKey},
        {etFloat, u"-3", u'-', kRefusedKey},
        {etFloat, u"3", u'e', kRefusedKey},
        // Dates and times take digits only; exit puts the separators in.
        {etDate, u"05", u'1', u'1'},
        {etDate, u"05", u'/', kRefusedKey},
        {etTime, u"09", u':', kRefusedKey},
        {etTime, u"09", u'-', kRefusedKey},
        // Strings take everything.
        {etString, u"ab", u'%', u'%'},
        {etString, u"ab", 7, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(filterTypedKey(c.type, c.key, c.text, u','), c.expected)
            << "type " << c.type << ", key " << static_cast<int>(c.key);
    }
}

TEST(TypedKeyFilter, AnIntegerFieldWithoutLimitMakesRoomForTheSign) {
    EXPECT_EQ(integerTypingLimit(0, u"12", u'-'), 11);
    EXPECT_EQ(integerTypingLimit(0, u"-12", u'3'), 11);
    EXPECT_EQ(integerTypingLimit(0, u"12", u'3'), 0);
    EXPECT_EQ(integerTypingLimit(9, u"-12", u'3'), 9) << "a set limit stays";
}

TEST(TypedKeyFilter, FirstLettersAreCapitalisedAtTheStartAndAfterTheListedCharacters) {
    const std::u16string upList = u" (";
    EXPECT_TRUE(capitalisesTypedKey(u"", false, upList));
    EXPECT_TRUE(capitalisesTypedKey(u"Ana", true, upList)) << "typing over the whole text";
    EXPECT_TRUE(capitalisesTypedKey(u"Ana ", false, upList));
    EXPECT_TRUE(capitalisesTypedKey(u"Ana (", false, upList));
    EXPECT_FALSE(capitalisesTypedKey(u"A", false, upList));
    EXPECT_FALSE(capitalisesTypedKey(u"Ana-", false, upList));
}

}  // namespace
}  // namespace varelo
