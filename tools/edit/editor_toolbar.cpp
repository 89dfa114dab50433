#include "editor_toolbar.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>

#include "tool_icons.h"

namespace {

struct ToolEntry {
  Tool tool;
  const char* name;
  char key;
};

constexpr ToolEntry kTools[] = {
    {Tool::Select, "Select", 'V'},
    {Tool::Arrow, "Arrow", 'A'},
    {Tool::Line, "Line", 'L'},
    {Tool::Rectangle, "Rectangle", 'R'},
    {Tool::Ellipse, "Ellipse", 'E'},
    {Tool::Pen, "Pen", 'D'},
    {Tool::Highlighter, "Highlighter", 'H'},
    {Tool::Text, "Text", 'T'},
    {Tool::Step, "Step", 'N'},
    {Tool::Pixelate, "Pixelate", 'X'},
    {Tool::Blur, "Blur", 'B'},
    {Tool::Crop, "Crop", 'C'},
};

QIcon swatch(const QColor& color) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setBrush(color);
  painter.drawRect(3, 3, 17, 17);
  return QIcon(pixmap);
}

}  // namespace

QToolBar* buildToolBar(QWidget* parent, ToolSettings& settings) {
  auto* bar = new QToolBar(QObject::tr("Tools"), parent);
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  const QColor ink = bar->palette().color(QPalette::ButtonText);
  auto* group = new QActionGroup(bar);
  for (const ToolEntry& entry : kTools) {
    QAction* action = bar->addAction(toolIcon(entry.tool, ink), QObject::tr(entry.name));
    action->setCheckable(true);
    action->setChecked(entry.tool == settings.tool);
    action->setShortcut(QKeySequence(QChar(entry.key)));
    action->setToolTip(QObject::tr("%1 (%2)").arg(QObject::tr(entry.name)).arg(entry.key));
    group->addAction(action);
    Tool tool = entry.tool;
    QObject::connect(action, &QAction::triggered, bar, [&settings, tool] { settings.tool = tool; });
  }
  bar->addSeparator();

  QAction* colour = bar->addAction(swatch(settings.color), QObject::tr("Colour"));
  colour->setShortcut(QKeySequence(Qt::Key_K));
  colour->setToolTip(QObject::tr("Colour (K)"));
  QObject::connect(colour, &QAction::triggered, bar, [&settings, colour, bar] {
    QColor chosen = QColorDialog::getColor(settings.color, bar, QObject::tr("Colour"));
    if (!chosen.isValid()) return;
    settings.color = chosen;
    colour->setIcon(swatch(chosen));
  });
  QAction* filled = bar->addAction(filledIcon(ink), QObject::tr("Filled"));
  filled->setCheckable(true);
  filled->setShortcut(QKeySequence(Qt::Key_F));
  filled->setToolTip(QObject::tr("Filled rectangles and ellipses (F)"));
  QObject::connect(filled, &QAction::toggled, bar, [&settings](bool on) { settings.filled = on; });

  auto addNumber = [bar](const QString& label, int low, int high, int value, auto onChange) {
    bar->addWidget(new QLabel(label, bar));
    auto* box = new QSpinBox(bar);
    box->setRange(low, high);
    box->setValue(value);
    box->setFocusPolicy(Qt::ClickFocus);
    QObject::connect(box, &QSpinBox::valueChanged, bar, onChange);
    bar->addWidget(box);
  };
  addNumber(QObject::tr(" Width "), 1, 64, settings.width,
            [&settings](int value) { settings.width = value; });
  addNumber(QObject::tr(" Text size "), 6, 400, settings.fontSize,
            [&settings](int value) { settings.fontSize = value; });
  return bar;
}
