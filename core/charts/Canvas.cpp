#include "charts/Canvas.h"

#include <algorithm>

namespace kvl {

Canvas::Canvas(int widthTwips, int heightTwips) : m_widthTwips(widthTwips), m_heightTwips(heightTwips) {}

void Canvas::setSizeTwips(int widthTwips, int heightTwips)
{
    m_widthTwips = widthTwips;
    m_heightTwips = heightTwips;
}

void Canvas::setScale(double left, double top, double width, double height)
{
    m_scale = Scale{left, top, width, height};
}

void Canvas::clear()
{
    m_items.clear();
    m_currentX = 0;
    m_currentY = 0;
}

void Canvas::clearLayer(Layer layer)
{
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [layer](const CanvasItem &i) { return i.layer == layer; }),
                  m_items.end());
}

void Canvas::setLayerVisible(Layer layer, bool visible)
{
    m_hidden[int(layer)] = !visible;
}

bool Canvas::layerVisible(Layer layer) const
{
    return !m_hidden[int(layer)];
}

void Canvas::add(CanvasItem item)
{
    item.layer = m_layer;
    item.lineWidth = m_lineWidth;
    item.fontSize = m_fontSize;
    item.bold = m_bold;
    item.scale = m_scale;
    m_items.append(std::move(item));
}

void Canvas::line(double x1, double y1, double x2, double y2)
{
    line(x1, y1, x2, y2, m_colour);
}

void Canvas::line(double x1, double y1, double x2, double y2, Rgb colour)
{
    CanvasItem item;
    item.kind = CanvasItem::Line;
    item.x1 = x1;
    item.y1 = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.colour = colour;
    add(std::move(item));
    m_currentX = x2;
    m_currentY = y2;
}

void Canvas::point(double x, double y)
{
    CanvasItem item;
    item.kind = CanvasItem::Point;
    item.x1 = item.x2 = x;
    item.y1 = item.y2 = y;
    item.colour = m_colour;
    add(std::move(item));
    m_currentX = x;
    m_currentY = y;
}

void Canvas::moveTo(double x, double y)
{
    m_currentX = x;
    m_currentY = y;
}

void Canvas::text(const QString &text)
{
    CanvasItem item;
    item.kind = CanvasItem::Text;
    item.x1 = item.x2 = m_currentX;
    item.y1 = item.y2 = m_currentY;
    item.text = text;
    item.colour = m_colour;
    add(std::move(item));
}

void Canvas::text(double x, double y, const QString &text)
{
    moveTo(x, y);
    this->text(text);
}

void replay(const Canvas &canvas, CanvasSink &sink)
{
    for (const CanvasItem &item : canvas.items())
        if (canvas.layerVisible(item.layer))
            sink.item(item);
}

} // namespace kvl
