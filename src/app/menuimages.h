#pragma once

#include <QIcon>
#include <QList>

// The frame's image list menuImages: 21 pictures of 16 x 16 for the commands, drawn by the program.
QList<QIcon> makeMenuImages();
