#pragma once

// Small translations between the window system's values and Qt's: key codes, file dialog
// filters and paths, images and control texts.

#include <QImage>
#include <QString>
#include <QStringList>
#include <string>

#include "ui/Bitmap.h"

namespace qx::qt {

// The Windows virtual-key code of a Qt key, or 0 for keys the window system has no code for.
// Alt is none of them: with Alt held, keys belong to the menu bar, not to the windows.
int VirtualKeyOf(int qtKey);

// The tool writes file filters the Windows way, "Description (*.a) | *.a;*.b | ... ||"; Qt
// wants one "Description (*.a *.b)" entry per pair. Empty pairs are dropped.
QStringList NameFiltersOf(const std::string& filter);

// An initial path is a folder plus a file name or pattern ("/home/u/*.cam"). The folder is
// empty when the path names none; the name is empty when it is a pattern.
struct InitialPath {
  QString folder;
  QString fileName;
  QString pattern;
};
InitialPath SplitInitialPath(const std::string& path);

QImage ImageOf(const ui::Bitmap& bitmap);

// Static texts use "&" to mark a mnemonic and "&&" for a literal ampersand; a label without
// a buddy would show them as typed.
QString LabelText(const std::string& text);

QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

}  // namespace qx::qt
