#include "controls/Twips.h"

#include <QWidget>

void PlaceTwips(QWidget* control, const TwipsRect& at) {
    control->setGeometry(TwipsToPixels(at.left), TwipsToPixels(at.top), TwipsToPixels(at.width),
                         TwipsToPixels(at.height));
}

TwipsRect GeometryTwips(const QWidget* control) {
    const QRect g = control->geometry();
    return {PixelsToTwips(g.x()), PixelsToTwips(g.y()), PixelsToTwips(g.width()),
            PixelsToTwips(g.height())};
}

int WindowWidthTwips(const QWidget* control) {
    return PixelsToTwips(control->window()->frameGeometry().width());
}

int WindowHeightTwips(const QWidget* control) {
    return PixelsToTwips(control->window()->frameGeometry().height());
}

void ApplyTwipsSettings(std::initializer_list<QWidget*> controls,
                        const std::vector<TwipsSetting>& settings) {
    for (const TwipsSetting& set : settings)
        for (QWidget* control : controls) {
            if (control->objectName() != set.control)
                continue;
            TwipsRect at = GeometryTwips(control);
            at.top = set.top.value_or(at.top);
            at.width = set.width.value_or(at.width);
            at.height = set.height.value_or(at.height);
            PlaceTwips(control, at);
        }
}
