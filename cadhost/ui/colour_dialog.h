#pragma once
// The colour dialog of acedSetColorDialog: the 255 index colours (the 240 shades of hues, the
// nine standard colours, six greys), BYLAYER and BYBLOCK when allowed, and the index typed.

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QToolButton;

namespace cadhost::ui {

class ColourDialog : public QDialog {
  Q_OBJECT

 public:
  ColourDialog(int color, bool allowMetaColor, int layerColor, QWidget* parent = nullptr);
  // 1..255, 0 BYBLOCK, 256 BYLAYER.
  int Color() const { return m_color; }
  void SetColor(int color);

  // Shows the dialog; the colour chosen, nothing when cancelled.
  static std::optional<int> Choose(QWidget* parent, int color, bool allowMetaColor, int layerColor);

  // The index a swatch of the hue grid stands for: 24 hues across (10, 20, ... 240), 10
  // shades down.
  static int GridIndex(int row, int column) { return 10 + column * 10 + row; }

 private:
  void Typed();
  bool m_meta;
  int m_layerColor;
  int m_color = 7;
  QLineEdit* m_index;
  QLabel* m_sample;
  QToolButton* m_swatches[256] = {};  // by index; the chosen one is framed
};

}  // namespace cadhost::ui
