#include "widgets/edit_key_rules.h"

namespace varelo {
namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool contains(std::u16string_view text, char16_t c) {
    return text.find(c) != std::u16string_view::npos;
}

// Keys every numeric field lets through: Backspace, Enter, digits, and the
// four characters that the text filter removes again at once.
bool isCommonNumericKey(char16_t key) {
    return key == kBackspaceKey || key == kEnterKey || key == u'#' || key == u'$' || key == u'%' ||
           key == u'\'' || isDigit(key);
}

}  // namespace

char16_t filterTypedKey(TEditTypes type, char16_t key, std::u16string_view text, char16_t decimal) {
    switch (type) {
        case etInteger:
            if (key == u'-') return contains(text, u'-') ? kRefusedKey : key;
            return isCommonNumericKey(key) ? key : kRefusedKey;
        case etFloat:
            if (key == u'-') return contains(text, u'-') ? kRefusedKey : key;
            if (key == u',' || key == u'.')
                return contains(text, u',') || contains(text, u'.') || contains(text, decimal) ? kRefusedKey
                                                                                               : decimal;
            return isCommonNumericKey(key) ? key : kRefusedKey;
        case etDate:
        case etTime:
            return isCommonNumericKey(key) ? key : kRefusedKey;
        case etString:
            break;
    }
    return key;
}

int integerTypingLimit(int maxLength, std::u16string_view text, char16_t key) {
    if (maxLength == 0 && (contains(text, u'-') || key == u'-')) return 11;
    return maxLength;
}

bool capitalisesTypedKey(std::u16string_view text, bool wholeTextSelected, std::u16string_view upList) {
    return text.empty() || wholeTextSelected || contains(upList, text.back());
}

}  // namespace varelo
