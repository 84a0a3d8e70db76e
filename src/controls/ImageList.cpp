#include "controls/ImageList.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace {

// Icons drawn when they are first painted: a start-up that decodes images it may never show
// is a slow start-up.
class GlyphEngine : public QIconEngine {
public:
    GlyphEngine(Glyph shape, const QColor& colour) : shape_(shape), colour_(colour) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QColor colour = mode == QIcon::Disabled ? QColor(160, 160, 160) : colour_;
        const QRectF r = QRectF(rect).adjusted(1, 1, -1, -1);
        const qreal w = r.width(), h = r.height();
        auto at = [&](qreal x, qreal y) { return QPointF(r.left() + w * x, r.top() + h * y); };
        painter->setPen(QPen(colour.darker(150), std::max(1.0, w / 16)));
        painter->setBrush(colour.lighter(140));
        switch (shape_) {
        case Glyph::FolderClosed:
        case Glyph::FolderOpen:
        case Glyph::NoteFolder: {
            QPainterPath tab;
            tab.moveTo(at(0.05, 0.25));
            tab.lineTo(at(0.4, 0.25));
            tab.lineTo(at(0.5, 0.35));
            tab.lineTo(at(0.95, 0.35));
            tab.lineTo(at(0.95, 0.9));
            tab.lineTo(at(0.05, 0.9));
            tab.closeSubpath();
            painter->drawPath(tab);
            if (shape_ == Glyph::FolderOpen) {
                painter->setBrush(colour.lighter(170));
                painter->drawPolygon(
                    QPolygonF({at(0.15, 0.5), at(1.0, 0.5), at(0.85, 0.9), at(0.05, 0.9)}));
            } else if (shape_ == Glyph::NoteFolder) {
                painter->setBrush(QColor(250, 230, 120));
                painter->drawRect(QRectF(at(0.45, 0.5), at(0.8, 0.85)));
            }
            break;
        }
        case Glyph::Node:
        case Glyph::Note: {
            painter->setBrush(shape_ == Glyph::Note ? QColor(250, 230, 120) : QColor(Qt::white));
            painter->drawPolygon(QPolygonF(
                {at(0.2, 0.05), at(0.65, 0.05), at(0.85, 0.25), at(0.85, 0.95), at(0.2, 0.95)}));
            for (int i = 1; i <= 3; ++i)
                painter->drawLine(at(0.3, 0.3 + 0.18 * i), at(0.75, 0.3 + 0.18 * i));
            break;
        }
        case Glyph::Cabinet:
        case Glyph::Root:
            painter->drawRoundedRect(r, w / 8, h / 8);
            painter->drawLine(at(0.1, 0.5), at(0.9, 0.5));
            painter->drawLine(at(0.4, 0.28), at(0.6, 0.28));
            painter->drawLine(at(0.4, 0.72), at(0.6, 0.72));
            if (shape_ == Glyph::Root)
                painter->drawEllipse(QRectF(at(0.6, 0.05), at(0.95, 0.4)));
            break;
        case Glyph::Magnifier: {
            painter->drawRoundedRect(r, w / 6, h / 6);
            const QRectF lens(at(0.22, 0.22), at(0.62, 0.62));
            painter->setBrush(Qt::NoBrush);
            painter->drawEllipse(lens);
            painter->drawLine(at(0.57, 0.57), at(0.8, 0.8));
            break;
        }
        case Glyph::App: {
            // A calendar page: a coloured band with two rings, a grid of days, a note.
            const QRectF page(at(0.06, 0.12), at(0.94, 0.94));
            painter->setBrush(Qt::white);
            painter->drawRoundedRect(page, w / 12, h / 12);
            painter->setBrush(colour);
            painter->drawRoundedRect(QRectF(at(0.06, 0.12), at(0.94, 0.34)), w / 12, h / 12);
            painter->setBrush(colour.darker(160));
            for (const qreal x : {0.3, 0.7})
                painter->drawRoundedRect(QRectF(at(x - 0.04, 0.04), at(x + 0.04, 0.22)), w / 40,
                                         h / 40);
            painter->setPen(QPen(colour.darker(130), std::max(1.0, w / 32)));
            for (int row = 0; row < 3; ++row)
                for (int col = 0; col < 4; ++col) {
                    const qreal x = 0.16 + 0.18 * col, y = 0.44 + 0.16 * row;
                    painter->drawPoint(at(x, y));
                }
            painter->setPen(QPen(colour.darker(170), std::max(1.0, w / 24)));
            painter->setBrush(QColor(250, 220, 90));
            painter->drawPolygon(QPolygonF(
                {at(0.52, 0.56), at(0.9, 0.56), at(0.9, 0.86), at(0.6, 0.86), at(0.52, 0.78)}));
            break;
        }
        case Glyph::Lines:
            painter->drawRoundedRect(r, w / 6, h / 6);
            for (int i = 1; i <= 3; ++i)
                painter->drawLine(at(0.25, 0.25 * i),
                                  at(0.25 + 0.5 * (i == 3 ? 0.6 : 1.0), 0.25 * i));
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

    QIconEngine* clone() const override { return new GlyphEngine(shape_, colour_); }

private:
    Glyph shape_;
    QColor colour_;
};

QColor ColourOf(Picture picture) {
    switch (picture) {
    case Picture::Search:
        return QColor(90, 120, 200);
    case Picture::People:
        return QColor(200, 140, 60);
    case Picture::Diary:
        return QColor(70, 150, 90);
    case Picture::Thoughts:
        return QColor(160, 90, 170);
    case Picture::Events:
        return QColor(200, 80, 80);
    case Picture::Thought:
        return QColor(120, 110, 190);
    case Picture::Groups:
        return QColor(190, 160, 40);
    }
    return QColor(120, 120, 120);
}

} // namespace

QIcon GlyphIcon(Glyph shape, const QColor& colour) {
    return QIcon(new GlyphEngine(shape, colour));
}

QIcon PictureIcon(Picture picture) {
    return GlyphIcon(picture == Picture::Search ? Glyph::Magnifier : Glyph::Lines,
                     ColourOf(picture));
}

QIcon AppIcon() {
    return GlyphIcon(Glyph::App, QColor(60, 120, 200));
}
