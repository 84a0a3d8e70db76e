// The quoting helpers: a value quoted with FixQuote comes back whole from the statement it
// is put in, and LIKE escaping leaves every percent sign in brackets.
#include "FuzzSupport.h"

#include "common/modQXCommFunc.h"
#include "data/JetSql.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString value = Text(data, size);
    QString quoted = value;
    FixQuote(quoted);
    if (quoted.count(QLatin1Char('\'')) != 2 * value.count(QLatin1Char('\'')))
        Broken("FixQuote does not double every apostrophe");
    const JetStatement st = SplitJet(QStringLiteral("select * from t where c = '") + quoted + "'");
    if (st.literals.size() != 1 || st.literals[0].value != value)
        Broken("a quoted value does not come back whole");
    QString escaped = value;
    EscapeLikePercent(escaped);
    if (escaped.count(QStringLiteral("[%]")) != value.count(QLatin1Char('%')))
        Broken("a percent sign is left outside brackets");
    (void)TrimFixQuote(value);
    (void)NullToEmpty(value);
    return 0;
}
