#pragma once

#include <QColor>
#include <QIcon>

#include "annotation.h"

// The tool bar's pictures, drawn here in `ink` (the bar's text colour, so that a dark theme
// gets light ones) at one and two device pixels per point.
QIcon toolIcon(Tool tool, const QColor& ink);
// A filled square: shapes are drawn filled.
QIcon filledIcon(const QColor& ink);
