#include "app/uModernStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOption>

#include "app/uVCLTheme.h"

namespace {

struct TColours {
  QColor Window, Base, AlternateBase, Text, DisabledText, Button, Highlight, HighlightedText, Hover,
      Pressed, Border, FocusBorder;
};

TColours LightColours() {
  return {QColor(0xF3, 0xF3, 0xF3),       QColor(0xFF, 0xFF, 0xFF), QColor(0xF7, 0xF7, 0xF7),
          QColor(0x1B, 0x1B, 0x1B),       QColor(0x88, 0x88, 0x88), QColor(0xFB, 0xFB, 0xFB),
          QColor(0x00, 0x5F, 0xB8),       QColor(0xFF, 0xFF, 0xFF), QColor(0x00, 0x00, 0x00, 0x0F),
          QColor(0x00, 0x00, 0x00, 0x1A), QColor(0xD5, 0xD5, 0xD5), QColor(0x00, 0x5F, 0xB8)};
}

TColours DarkColours() {
  return {QColor(0x20, 0x20, 0x20),       QColor(0x2B, 0x2B, 0x2B), QColor(0x32, 0x32, 0x32),
          QColor(0xFF, 0xFF, 0xFF),       QColor(0x88, 0x88, 0x88), QColor(0x2D, 0x2D, 0x2D),
          QColor(0x60, 0xCD, 0xFF),       QColor(0x00, 0x00, 0x00), QColor(0xFF, 0xFF, 0xFF, 0x0F),
          QColor(0xFF, 0xFF, 0xFF, 0x17), QColor(0x3C, 0x3C, 0x3C), QColor(0x60, 0xCD, 0xFF)};
}

QPalette MakePalette(const TColours &c) {
  QPalette p;
  p.setColor(QPalette::Window, c.Window);
  p.setColor(QPalette::WindowText, c.Text);
  p.setColor(QPalette::Base, c.Base);
  p.setColor(QPalette::AlternateBase, c.AlternateBase);
  p.setColor(QPalette::ToolTipBase, c.Base);
  p.setColor(QPalette::ToolTipText, c.Text);
  p.setColor(QPalette::PlaceholderText, c.DisabledText);
  p.setColor(QPalette::Text, c.Text);
  p.setColor(QPalette::Button, c.Button);
  p.setColor(QPalette::ButtonText, c.Text);
  p.setColor(QPalette::BrightText, QColor(0xFF, 0x44, 0x44));
  p.setColor(QPalette::Highlight, c.Highlight);
  p.setColor(QPalette::HighlightedText, c.HighlightedText);
  p.setColor(QPalette::Link, c.Highlight);
  p.setColor(QPalette::Light, c.Button.lighter(115));
  p.setColor(QPalette::Midlight, c.Button.lighter(105));
  p.setColor(QPalette::Mid, c.Border);
  p.setColor(QPalette::Dark, c.Border.darker(120));
  p.setColor(QPalette::Shadow, QColor(0, 0, 0));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, c.DisabledText);
  p.setColor(QPalette::Disabled, QPalette::Base, c.Window);
  return p;
}

QPainterPath Rounded(const QRectF &rect, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

} // namespace

TModernStyle::TModernStyle(bool dark)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), FDark(dark) {
  setObjectName(dark ? DarkStyleName() : LightStyleName());
}

QPalette TModernStyle::standardPalette() const {
  return MakePalette(FDark ? DarkColours() : LightColours());
}

void TModernStyle::polish(QPalette &palette) { palette = standardPalette(); }

void TModernStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                 QPainter *painter, const QWidget *widget) const {
  const TColours c = FDark ? DarkColours() : LightColours();
  switch (element) {
  case PE_PanelButtonTool: {
    // Flat toolbar buttons show only a soft rounded plate under the mouse.
    const bool down = option->state & (State_Sunken | State_On);
    const bool hover = (option->state & State_MouseOver) && (option->state & State_Enabled);
    if (!down && !hover)
      return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(down ? c.Pressed : c.Hover);
    painter->drawPath(Rounded(QRectF(option->rect).adjusted(2, 2, -2, -2), 4));
    painter->restore();
    return;
  }
  case PE_Frame:
  case PE_FrameLineEdit: {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool focus = (option->state & State_HasFocus) && (option->state & State_Enabled);
    painter->setPen(QPen(focus ? c.FocusBorder : c.Border, 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(Rounded(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 4));
    painter->restore();
    return;
  }
  case PE_FrameFocusRect:
    return;
  default:
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
}

int TModernStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                              const QWidget *widget) const {
  switch (metric) {
  case PM_SplitterWidth:
    return 3;
  default:
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
}
