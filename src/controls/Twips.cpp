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
