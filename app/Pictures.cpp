#include "app/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace Pictures {

namespace {

QPixmap Render(QSvgRenderer& renderer, QSize size, qreal ratio) {
  QPixmap pixmap(size * ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  painter.end();
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

QString Resource(const char* name) { return QStringLiteral(":/velmar/%1.svg").arg(QLatin1String(name)); }

}  // namespace

QPixmap Picture(const char* name, qreal ratio) {
  QSvgRenderer renderer(Resource(name));
  return Render(renderer, renderer.defaultSize(), ratio);
}

QPixmap Picture(const char* name) { return Picture(name, qGuiApp->devicePixelRatio()); }

QIcon ProgramIcon() {
  QSvgRenderer renderer(Resource("icon"));
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(Render(renderer, {size, size}, 1));
  return icon;
}

}  // namespace Pictures
