#include "qt/Conversions.h"

#include <QRegularExpression>

#include "ui/Event.h"

namespace qx::qt {
namespace {

QString Trimmed(const std::string& text) {
  return QString::fromStdString(text).trimmed();
}

}  // namespace

int VirtualKeyOf(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return ui::vk::kF1 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return ui::vk::kEnter;
    case Qt::Key_Escape:
      return ui::vk::kEscape;
    case Qt::Key_Shift:
      return ui::vk::kShift;
    case Qt::Key_Control:
      return ui::vk::kControl;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      return 0;
  }
}

QStringList NameFiltersOf(const std::string& filter) {
  QStringList parts;
  std::size_t start = 0;
  while (start <= filter.size()) {
    std::size_t bar = filter.find('|', start);
    if (bar == std::string::npos) bar = filter.size();
    parts.push_back(Trimmed(filter.substr(start, bar - start)));
    start = bar + 1;
  }
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      if (!pattern.trimmed().isEmpty()) patterns.push_back(pattern.trimmed());
    }
    if (description.isEmpty() && patterns.isEmpty()) continue;
    if (patterns.isEmpty()) patterns.push_back("*");
    const QString joined = patterns.join(' ');
    // Qt reads the patterns from the last parentheses of the entry, so a description that
    // already shows other patterns would filter by the wrong ones.
    const qsizetype open = description.lastIndexOf('(');
    if (open >= 0 && description.endsWith(')')) {
      const QString shown = description.mid(open + 1, description.size() - open - 2);
      QStringList shownPatterns = shown.split(QRegularExpression("[ ;]+"), Qt::SkipEmptyParts);
      if (shownPatterns.join(' ') == joined) {
        filters.push_back(description);
        continue;
      }
      description = description.left(open).trimmed();
    }
    if (description.isEmpty()) description = joined;
    filters.push_back(description + " (" + joined + ")");
  }
  return filters;
}

InitialPath SplitInitialPath(const std::string& path) {
  InitialPath result;
  if (path.empty()) return result;
  const QString text = QString::fromStdString(path);
  const qsizetype slash = text.lastIndexOf('/');
  const QString name = slash >= 0 ? text.mid(slash + 1) : text;
  if (slash >= 0) result.folder = slash == 0 ? QString("/") : text.left(slash);
  if (name.contains('*') || name.contains('?')) {
    result.pattern = name;
  } else {
    result.fileName = name;
  }
  return result;
}

QImage ImageOf(const ui::Bitmap& bitmap) {
  QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const ui::Color c = bitmap.At(x, y);
      image.setPixel(x, y, qRgba(c.r, c.g, c.b, c.a));
    }
  }
  return image;
}

QString LabelText(const std::string& text) {
  QString out;
  const QString in = QString::fromStdString(text);
  for (qsizetype i = 0; i < in.size(); ++i) {
    if (in[i] == '&') {
      if (i + 1 < in.size() && in[i + 1] == '&') {
        out.push_back('&');
        ++i;
      }
      continue;
    }
    out.push_back(in[i]);
  }
  return out;
}

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

std::string FromQString(const QString& text) {
  return text.toStdString();
}

}  // namespace qx::qt
