#include "editor/grid/grid_mime.h"

#include <QByteArray>
#include <QMimeData>

#include "model/table_clipboard_json.h"

namespace vex {

QMimeData* MakeGridMimeData(const std::string& text, const TableData& fragment, const std::string& html) {
  auto* mime = new QMimeData;
  QByteArray plain(text.data(), static_cast<qsizetype>(text.size()));
  plain.append('\0');
  mime->setData(QStringLiteral("text/plain"), plain);
  const std::string json = TableToClipboardJson(fragment);
  mime->setData(QString::fromLatin1(kTableMimeType), QByteArray(json.data(), static_cast<qsizetype>(json.size())));
  mime->setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
  return mime;
}

PastePayload ReadPastePayload(const QMimeData* mime, int maxRows, int maxCols) {
  PastePayload out;
  if (!mime) return out;
  const QString type = QString::fromLatin1(kTableMimeType);
  if (mime->hasFormat(type)) {
    const QByteArray data = mime->data(type);
    ClipboardLimits limits;
    limits.maxRows = maxRows;
    limits.maxCols = maxCols;
    TableData table;
    if (TableFromClipboardJson(std::string_view(data.constData(), static_cast<std::size_t>(data.size())), limits, table,
                               out.tableProblem))
      out.table = std::move(table);
  }
  if (mime->hasText()) {
    const QByteArray utf8 = mime->text().toUtf8();
    out.text = std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  }
  return out;
}

}  // namespace vex
