#pragma once

#include <QPalette>
#include <QProxyStyle>

// The program's two application-wide styles: Fusion with a Windows 11 like
// palette, flat tool buttons with a rounded hover and rounded edit frames.
// The style's object name is the name it is registered under.
class TModernStyle final : public QProxyStyle {
  Q_OBJECT

public:
  explicit TModernStyle(bool dark);

  bool IsDark() const { return FDark; }
  QPalette standardPalette() const override;
  void polish(QPalette &palette) override;
  using QProxyStyle::polish;
  void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr) const override;

private:
  bool FDark;
};
