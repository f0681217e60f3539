#include "app/PageExterior.h"

#include <QVBoxLayout>

#include "app/Texts.h"

PageExteriorBase::PageExteriorBase(Wizard& wizard, int templateId, int titleTextId, int bodyTextId, bool threeD)
    : WizardPageBase(wizard, templateId, 0, 0) {
  // Only the first and last pages carry the watermark.
  setPixmap(QWizard::WatermarkPixmap, QPixmap(QStringLiteral(":/velmar/watermark.png")));
  auto* title = new QLabel(Text(titleTextId), this);
  title->setObjectName(QStringLiteral("title"));
  title->setWordWrap(true);
  QFont bold(QStringLiteral("Verdana"), 12, QFont::Bold);
  title->setFont(bold);
  auto* body = new QLabel(Text(bodyTextId), this);
  body->setObjectName(QStringLiteral("body"));
  body->setWordWrap(true);
  auto* column = new QVBoxLayout(this);
  column->addWidget(title);
  column->addSpacing(12);
  column->addWidget(body);
  if (threeD) {
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture3d"));
    picture->setPixmap(QPixmap(QStringLiteral(":/velmar/picture-3d.png")));
    column->addSpacing(12);
    column->addWidget(picture, 0, Qt::AlignLeft);
  }
  column->addStretch(1);
}

void PageExteriorBase::OnSetActive() {
  SetWizardButtons(Buttons::Finish);
  Sheet().EnableCancel(false);
}
