#pragma once

namespace varelo {

// What a typed edit field accepts.
enum TEditTypes : int { etString = 0, etInteger = 1, etFloat = 2, etDate = 3, etTime = 4 };

// How a typed edit field fills its text to its alignment length when the focus leaves.
enum TEditAlign : int {
    etAlignRight = 0,
    etAlignLeft = 1,
    etAlignCenter = 2,
    etAlignNone = 3,
    etAlignValue = 4
};

}  // namespace varelo
