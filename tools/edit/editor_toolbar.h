#pragma once

#include <QToolBar>

#include "editor_canvas.h"

// The tool bar: one checkable action per tool with its own key (named in its tooltip), and the
// colour, stroke width, outline/filled and text size that every tool shares.
QToolBar* buildToolBar(QWidget* parent, ToolSettings& settings);
