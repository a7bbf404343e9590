#include "viewer/CanvasPainter.h"

#include <QPainter>
#include <QPalette>
#include <QToolTip>

#include <cstdint>

namespace ormaline {
namespace {

Qt::PenStyle QtPenStyle(TPenStyle style) {
    switch (style) {
    case TPenStyle::Dash:
        return Qt::DashLine;
    case TPenStyle::Dot:
        return Qt::DotLine;
    case TPenStyle::DashDot:
        return Qt::DashDotLine;
    case TPenStyle::Solid:
        break;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle QtBrushStyle(TBrushStyle style) {
    switch (style) {
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    case bsSolid:
        break;
    }
    return Qt::SolidPattern;
}

QPen QtPen(const TPen& pen) {
    QPen result(QtColour(pen.colour));
    // Widths 0 and 1 are one pixel; a cosmetic pen stays one pixel on every device.
    result.setWidth(pen.width <= 1 ? 0 : pen.width);
    result.setStyle(QtPenStyle(pen.style));
    result.setCapStyle(Qt::RoundCap);
    result.setJoinStyle(Qt::RoundJoin);
    return result;
}

QBrush QtBrush(const TBrush& brush) {
    return {QtColour(brush.colour), QtBrushStyle(brush.style)};
}

// The box inside which a pen of `width` pixels centred on the outline stays within the
// operation's rectangle (right and bottom lie outside it), as the system's canvas draws.
QRectF InnerBox(const TPoint& topLeft, const TPoint& bottomRight, int penWidth) {
    const double inset = (penWidth <= 1 ? 1.0 : penWidth) / 2.0;
    return QRectF(QPointF(topLeft.x + inset, topLeft.y + inset),
                  QPointF(bottomRight.x - inset, bottomRight.y - inset));
}

} // namespace

QColor QtColour(TColor colour) {
    const auto value = static_cast<std::uint32_t>(colour);
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

TColor TooltipColour() {
    const QColor c = QToolTip::palette().color(QPalette::ToolTipBase);
    return static_cast<TColor>(static_cast<std::uint32_t>(c.red()) |
                               (static_cast<std::uint32_t>(c.green()) << 8) |
                               (static_cast<std::uint32_t>(c.blue()) << 16));
}

void DrawCanvasPicture(QPainter& painter, const TCanvasPicture& picture) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const QFontMetrics metrics = painter.fontMetrics();
    for (const TCanvasItem& item : picture.items) {
        const std::vector<TPoint>& p = item.points;
        switch (item.kind) {
        case TCanvasItem::TKind::FillRect:
            if (p.size() == 2)
                painter.fillRect(QRect(QPoint(p[0].x, p[0].y), QPoint(p[1].x - 1, p[1].y - 1)),
                                 QtBrush(item.brush));
            break;
        case TCanvasItem::TKind::Line:
            if (p.size() == 2) {
                painter.setPen(QtPen(item.pen));
                painter.drawLine(QPoint(p[0].x, p[0].y), QPoint(p[1].x, p[1].y));
            }
            break;
        case TCanvasItem::TKind::Polygon: {
            QPolygon polygon;
            for (const TPoint& point : p)
                polygon << QPoint(point.x, point.y);
            painter.setPen(QtPen(item.pen));
            painter.setBrush(QtBrush(item.brush));
            painter.drawPolygon(polygon);
            break;
        }
        case TCanvasItem::TKind::Ellipse:
        case TCanvasItem::TKind::Rectangle:
            if (p.size() == 2) {
                painter.setPen(QtPen(item.pen));
                painter.setBrush(QtBrush(item.brush));
                const QRectF box = InnerBox(p[0], p[1], item.pen.width);
                if (item.kind == TCanvasItem::TKind::Ellipse)
                    painter.drawEllipse(box);
                else
                    painter.drawRect(box);
            }
            break;
        case TCanvasItem::TKind::Text: {
            if (p.empty())
                break;
            const QString text =
                QString::fromLatin1(item.text.data(), static_cast<qsizetype>(item.text.size()));
            const QRect cell(p[0].x, p[0].y, metrics.horizontalAdvance(text), metrics.height());
            if (item.brush.style == bsSolid)
                painter.fillRect(cell, QtColour(item.brush.colour));
            painter.setPen(QtColour(item.pen.colour));
            painter.drawText(QPoint(p[0].x, p[0].y + metrics.ascent()), text);
            break;
        }
        }
    }
}

} // namespace ormaline
