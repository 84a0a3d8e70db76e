#include "shell/LayoutRules.h"

namespace LayoutRules {

namespace {

class Settings {
public:
    void Width(const QString& control, int w) {
        if (w > 0)
            out_.push_back({control, std::nullopt, w, std::nullopt});
    }
    void Height(const QString& control, int h) {
        if (h > 0)
            out_.push_back({control, std::nullopt, std::nullopt, h});
    }
    void TopAndHeight(const QString& control, int top, int h) {
        if (h > 0)
            out_.push_back({control, top, std::nullopt, h});
    }
    std::vector<Setting> Take() { return std::move(out_); }

private:
    std::vector<Setting> out_;
};

} // namespace

std::vector<Setting> Apply(const Input& in) {
    const int W = in.W, H = in.H, g = in.function;
    const QString frame = QStringLiteral("fraFunc(%1)").arg(g);
    const QString label = QStringLiteral("lblFunc(%1)").arg(g);
    Settings set;

    if (H - 1300 > 30) {
        set.Height(QStringLiteral("lstbarMain"), H - 1200);
        set.Height(frame, H - 1100);
    }
    int labelWidth = in.lblFuncWidth;
    if (W > 1000) {
        int frameWidth = in.fraFuncWidth;
        if (W - 1590 > 0) {
            frameWidth = W - 1590;
            set.Width(frame, frameWidth);
        }
        if (frameWidth - 250 > 5) {
            labelWidth = frameWidth - 250;
            set.Width(label, labelWidth);
        }
    }

    if (g == 1) {
        if (labelWidth - 4580 > 150)
            set.Width(QStringLiteral("tabCalendar"), labelWidth - 4580);
        if (H > 5500)
            set.Height(QStringLiteral("lvwCalSearch"), H - 5325);
        if (H > 3050) {
            set.Height(QStringLiteral("tabCalendar"), H - 2205);
            set.Height(QStringLiteral("fraCalDiary"), H - 2685);
            set.Height(QStringLiteral("fraCalSearch"), H - 2685);
            if (in.journalTop == 240)
                set.Height(QStringLiteral("rtfCalQJournal"), H - 3045);
            else
                set.TopAndHeight(QStringLiteral("rtfCalQJournal"), 1260, H - 4065);
        }
        if (W > 6900) {
            set.Width(QStringLiteral("rtfCalQJournal"), W - 6885);
            set.Width(QStringLiteral("fraCalDiary"), W - 6645);
            set.Width(QStringLiteral("fraCalSearch"), W - 6645);
            set.Width(QStringLiteral("tabCalendar"), W - 6405);
            set.Width(QStringLiteral("lvwCalSearch"), W - 6885);
        }
    } else if (g == 3) {
        if (W > 1000)
            set.Width(frame, W - 1605);
        if (W > 6500) {
            set.Width(QStringLiteral("tabThoughts"), W - 5865);
            set.Width(QStringLiteral("fraThoughts2"), W - 6105);
            set.Width(QStringLiteral("fraThoughtsSearch"), W - 6105);
            set.Width(QStringLiteral("rtfThoughts"), W - 6345);
            set.Width(QStringLiteral("txtThoughtNodeLocation"), W - 6345);
            set.Width(QStringLiteral("lvwThoSearch"), W - 6345);
        }
        if (H > 4300) {
            set.Height(QStringLiteral("tvwThoughts"), H - 2205);
            set.Height(frame, H - 1125);
            set.Height(QStringLiteral("tabThoughts"), H - 2205);
            set.Height(QStringLiteral("fraThoughts2"), H - 2685);
            set.Height(QStringLiteral("fraThoughtsSearch"), H - 2685);
            if (in.noteTop == 660)
                set.Height(QStringLiteral("rtfThoughts"), H - 3465);
            else
                set.TopAndHeight(QStringLiteral("rtfThoughts"), 1680, H - 4605);
            set.Height(QStringLiteral("lvwThoSearch"), H - 4425);
        }
    }
    return set.Take();
}

} // namespace LayoutRules
