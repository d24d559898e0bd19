#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

// The program's own picture: a rounded tile with two transit lines crossing at a stop and a found
// way drawn over them. The frame's window icon and the desktop's icon files are made from it.

// The sizes of the desktop's icon theme that the program ships.
QList<int> appIconSizes();
// The picture drawn for a square of side pixels (drawn anew, not scaled, so it is sharp).
QImage drawAppIcon(int side);
// The picture at every shipped size.
QIcon appIcon();
