#include "shell/LayoutRules.h"

#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

using LayoutRules::Input;

// "control:top/width/height" for each setting, "-" for what a setting leaves alone.
QStringList Rules(Input in) {
    QStringList out;
    auto part = [](const std::optional<int>& v) { return v ? QString::number(*v) : "-"; };
    for (const LayoutRules::Setting& s : LayoutRules::Apply(in))
        out << s.control + ':' + part(s.top) + '/' + part(s.width) + '/' + part(s.height);
    return out;
}

Input At(int W, int H, int function, int lblFuncWidth = 6015) {
    Input in;
    in.W = W;
    in.H = H;
    in.function = function;
    in.fraFuncWidth = 13755;
    in.lblFuncWidth = lblFuncWidth;
    return in;
}

// The sizes at the reference size are checked on the real window (WindowLayout).
TEST(LayoutRules, ThresholdsKeepSizesWhereTheRulesStop) {
    // Between 6571 and 6900 the tab strip follows the label; the insides stay.
    const QStringList narrow = Rules(At(6800, 11520, 1));
    EXPECT_TRUE(narrow.contains("tabCalendar:-/380/-")) << narrow.join(' ').toStdString();
    EXPECT_FALSE(narrow.join(' ').contains(QRegularExpression("fraCalDiary:-/\\d")));
    EXPECT_TRUE(Rules(At(6901, 11520, 1)).contains("tabCalendar:-/496/-"));
    // The function frame follows down to 1001, as far as a width can be positive.
    EXPECT_TRUE(Rules(At(1700, 11520, 1)).contains("fraFunc(1):-/110/-"));
    EXPECT_FALSE(
        Rules(At(1000, 11520, 1)).join(' ').contains(QRegularExpression("fraFunc\\(1\\):-/\\d")));
    // Below H = 1331 no height changes.
    for (const QString& s : Rules(At(15360, 1330, 1)))
        EXPECT_TRUE(s.endsWith("/-")) << s.toStdString();
    // The Address Book moves only the list bar, its frame and its title.
    QStringList book;
    for (const QString& s : Rules(At(15360, 11520, 4)))
        book << s.section(':', 0, 0);
    book.removeDuplicates();
    EXPECT_EQ(book, QStringList({"lstbarMain", "fraFunc(4)", "lblFunc(4)"}));
}

TEST(LayoutRules, SizesThatWouldBeZeroOrLessAreLeftAlone) {
    Input in = At(15360, 4000, 1);
    in.journalTop = 1260; // H - 4065 would be negative
    const QString all = Rules(in).join(' ');
    EXPECT_FALSE(all.contains("rtfCalQJournal:1260")) << all.toStdString();
    EXPECT_TRUE(all.contains("fraCalDiary:-/-/1315"));
    Input note = At(15360, 4600, 3, 7275);
    note.noteTop = 1680; // H - 4605 would be negative
    EXPECT_FALSE(Rules(note).join(' ').contains("rtfThoughts:1680"));
}

} // namespace
