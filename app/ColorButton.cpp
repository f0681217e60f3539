#include "app/ColorButton.h"

#include <qdrawutil.h>

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) { setAutoDefault(false); }

void CColorButton::SetColors(const QColor& text, const QColor& background) {
  text_ = text;
  background_ = background;
  update();
}

void CColorButton::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

QSize CColorButton::sizeHint() const { return {460, 104}; }

void CColorButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect item = rect();
  painter.fillRect(item, background_);
  const bool pressed = isDown();
  qDrawWinPanel(&painter, item, palette(), pressed);
  QRect inner = item.adjusted(2, 2, -2, -2);
  if (pressed) inner.translate(1, 1);
  const QPoint pictureAt = inner.topLeft() + QPoint(8, 7);
  painter.drawPixmap(pictureAt, picture_);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = item.adjusted(4, 4, -4, -4);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
  // The text keeps clear of the picture, so that long lines never run over it.
  QRect textArea = inner;
  textArea.setLeft(pictureAt.x() + picture_.width() / picture_.devicePixelRatio() + 8);
  textArea.setRight(inner.right() - 8);
  painter.setPen(text_);
  painter.drawText(textArea, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text());
}
