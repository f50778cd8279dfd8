// Icons of the tool bar's commands: the desktop's icon theme where it has
// one under the freedesktop name, otherwise a picture the program carries
// (Qt's own where it has one, else one drawn here), so the buttons never
// stand empty on a desktop without a theme.
#pragma once

#include <QIcon>

class QStyle;

enum class TCommandGlyph { newFile, open, save, cut, copy, paste, cascade, tileHorizontally, tileVertically };

// The theme's icon named `themeName`, or the program's own picture of
// `glyph`.
QIcon CommandIcon(const QString &themeName, TCommandGlyph glyph, const QStyle *style);
// The program's own picture, without asking the theme.
QIcon FallbackIcon(TCommandGlyph glyph, const QStyle *style);
