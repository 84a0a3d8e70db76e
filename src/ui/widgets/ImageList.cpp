#include "ui/widgets/ImageList.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace {

// Icons drawn when they are first painted: a start-up that decodes images it may never show
// is a slow start-up.
class GlyphEngine : public QIconEngine {
public:
    explicit GlyphEngine(int index) : index_(index) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        QColor colour = Colour();
        if (mode == QIcon::Disabled)
            colour = QColor(160, 160, 160);
        const QRectF r = QRectF(rect).adjusted(1, 1, -1, -1);
        painter->setPen(QPen(colour.darker(140), 1));
        painter->setBrush(colour.lighter(150));
        painter->drawRoundedRect(r, r.width() / 6, r.height() / 6);
        painter->setPen(QPen(colour.darker(170), std::max(1.0, r.width() / 12)));
        const qreal l = r.left() + r.width() * 0.25, w = r.width() * 0.5;
        switch (index_) {
        case 12: { // a magnifier
            const QRectF lens(r.left() + r.width() * 0.22, r.top() + r.height() * 0.22,
                              r.width() * 0.4, r.height() * 0.4);
            painter->setBrush(Qt::NoBrush);
            painter->drawEllipse(lens);
            painter->drawLine(lens.bottomRight() - QPointF(r.width() * 0.05, r.height() * 0.05),
                              QPointF(r.right() - r.width() * 0.2, r.bottom() - r.height() * 0.2));
            break;
        }
        default: // lines of text
            for (int i = 1; i <= 3; ++i) {
                const qreal y = r.top() + r.height() * (0.25 * i);
                painter->drawLine(QPointF(l, y), QPointF(l + w * (i == 3 ? 0.6 : 1.0), y));
            }
            break;
        }
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

    QIconEngine* clone() const override { return new GlyphEngine(index_); }

private:
    QColor Colour() const {
        switch (index_) {
        case 12:
            return QColor(90, 120, 200);
        case 24:
            return QColor(200, 140, 60);
        case 27:
            return QColor(70, 150, 90);
        case 35:
            return QColor(160, 90, 170);
        case 45:
            return QColor(200, 80, 80);
        case 47:
            return QColor(120, 110, 190);
        case 48:
            return QColor(190, 160, 40);
        default:
            return QColor(120, 120, 120);
        }
    }
    int index_;
};

} // namespace

QIcon ImageListIcon(int index) {
    return QIcon(new GlyphEngine(index));
}
