#pragma once

#include <QColor>
#include <QPixmap>
#include <QPushButton>

// A large push button of the main menu: a picture at its top left and a
// centred, word-wrapped text, on a plain background with a raised edge
// (sunken while pressed, the contents then moved by one pixel).
class CColorButton : public QPushButton {
  Q_OBJECT

 public:
  explicit CColorButton(QWidget* parent = nullptr);

  void SetColors(const QColor& text, const QColor& background);
  void SetPicture(const QPixmap& picture);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor text_{Qt::black};
  QColor background_{Qt::white};
  QPixmap picture_;
};
