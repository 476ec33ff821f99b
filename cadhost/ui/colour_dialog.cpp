#include "cadhost/ui/colour_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "cadhost/sdk/acedads.h"

namespace cadhost::ui {
namespace {

constexpr int kSwatch = 14;

QColor ColourOfIndex(int i) { return QColor::fromRgb(static_cast<QRgb>(acedGetRGB(i))); }

QString SwatchStyle(int index, bool chosen) {
  return QStringLiteral("QToolButton { background: %1; border: %2; }")
      .arg(ColourOfIndex(index).name(),
           chosen ? QStringLiteral("2px solid black; outline: 1px solid white")
                  : QStringLiteral("1px solid #555"));
}

QString NameOf(int color) {
  if (color == 0) return QStringLiteral("BYBLOCK");
  if (color == 256) return QStringLiteral("BYLAYER");
  return QString::number(color);
}

}  // namespace

ColourDialog::ColourDialog(int color, bool allowMetaColor, int layerColor, QWidget* parent)
    : QDialog(parent), m_meta(allowMetaColor), m_layerColor(layerColor) {
  setWindowTitle(QStringLiteral("Select Color"));
  auto* layout = new QVBoxLayout(this);
  auto swatch = [this](int index) {
    auto* b = new QToolButton(this);
    b->setObjectName(QStringLiteral("colour%1").arg(index));
    b->setFixedSize(kSwatch, kSwatch);
    b->setToolTip(QStringLiteral("Index color: %1").arg(index));
    b->setStyleSheet(SwatchStyle(index, false));
    m_swatches[index] = b;
    connect(b, &QToolButton::clicked, this, [this, index] { SetColor(index); });
    return b;
  };
  auto* hues = new QGridLayout;
  hues->setSpacing(1);
  for (int row = 0; row < 10; ++row)
    for (int column = 0; column < 24; ++column)
      hues->addWidget(swatch(GridIndex(row, column)), row, column);
  layout->addLayout(hues);
  auto* standard = new QHBoxLayout;
  standard->setSpacing(1);
  for (int i = 1; i <= 9; ++i) standard->addWidget(swatch(i));
  standard->addSpacing(16);
  for (int i = 250; i <= 255; ++i) standard->addWidget(swatch(i));
  standard->addStretch();
  layout->addLayout(standard);
  if (m_meta) {
    auto* meta = new QHBoxLayout;
    auto* byLayer = new QPushButton(QStringLiteral("ByLayer"), this);
    auto* byBlock = new QPushButton(QStringLiteral("ByBlock"), this);
    byLayer->setObjectName(QStringLiteral("byLayer"));
    byBlock->setObjectName(QStringLiteral("byBlock"));
    connect(byLayer, &QPushButton::clicked, this, [this] { SetColor(256); });
    connect(byBlock, &QPushButton::clicked, this, [this] { SetColor(0); });
    meta->addWidget(byLayer);
    meta->addWidget(byBlock);
    meta->addStretch();
    layout->addLayout(meta);
  }
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Color:"), this));
  m_index = new QLineEdit(this);
  m_index->setObjectName(QStringLiteral("colourIndex"));
  connect(m_index, &QLineEdit::editingFinished, this, &ColourDialog::Typed);
  row->addWidget(m_index);
  m_sample = new QLabel(this);
  m_sample->setFixedSize(40, 20);
  row->addWidget(m_sample);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    Typed();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  SetColor(color);
}

void ColourDialog::SetColor(int color) {
  const bool ok = (color >= 1 && color <= 255) || (m_meta && (color == 0 || color == 256));
  if (!ok) color = 7;
  if (m_color >= 1 && m_color <= 255 && m_swatches[m_color] != nullptr)
    m_swatches[m_color]->setStyleSheet(SwatchStyle(m_color, false));
  m_color = color;
  if (color >= 1 && color <= 255 && m_swatches[color] != nullptr)
    m_swatches[color]->setStyleSheet(SwatchStyle(color, true));
  m_index->setText(NameOf(color));
  const int shown = color == 256 ? m_layerColor : color == 0 ? 7 : color;
  m_sample->setStyleSheet(QStringLiteral("background: %1; border: 1px solid #555;")
                              .arg(ColourOfIndex(std::clamp(shown, 1, 255)).name()));
}

void ColourDialog::Typed() {
  const QString t = m_index->text().trimmed();
  if (m_meta && t.compare(QStringLiteral("BYLAYER"), Qt::CaseInsensitive) == 0) return SetColor(256);
  if (m_meta && t.compare(QStringLiteral("BYBLOCK"), Qt::CaseInsensitive) == 0) return SetColor(0);
  bool ok = false;
  const int v = t.toInt(&ok);
  SetColor(ok ? v : m_color);
}

std::optional<int> ColourDialog::Choose(QWidget* parent, int color, bool allowMetaColor,
                                        int layerColor) {
  ColourDialog d(color, allowMetaColor, layerColor, parent);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return d.Color();
}

}  // namespace cadhost::ui
