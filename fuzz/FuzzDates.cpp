// Reading text as a date, and formatting with any pattern: a date that reads back from its
// own storage text is the same date.
#include "FuzzSupport.h"

#include "common/VbDate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString pattern, text;
    Split(data, size, pattern, text);
    if (const auto read = ReadDate(text)) {
        const auto again = ReadDate(IsoText(*read));
        if (!again || IsoText(*again) != IsoText(*read))
            Broken("a date does not read back from its storage text");
        (void)VbFormat(*read, pattern);
    }
    (void)VbFormat(QDate(2026, 12, 5), pattern);
    (void)VbFormat(QTime(21, 5, 7), pattern);
    return 0;
}
