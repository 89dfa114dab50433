// The selection overlay, the window picker and the pointer, driven by real input from xdotool.
#include <QDir>
#include <QPainter>

#include "harness.h"
#include "selection_geometry.h"

namespace {

QStringList at(QPoint p) {
  return {"mousemove", QString::number(p.x()), QString::number(p.y())};
}

// Starts the tool with `words`, waits until its overlay listens, then sends the input.
ToolResult interact(
    const QStringList& words, const char* overlay, const QStringList& input,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  ToolRun tool(words, environment);
  EXPECT_TRUE(waitForOverlay(overlay)) << overlay << " did not appear";
  EXPECT_TRUE(xdotool(input));
  ToolResult result = tool.wait();
  xdotool({"mouseup", "1"});
  return result;
}

QStringList dragging(QPoint from, QPoint to) {
  return at(from) + QStringList{"mousedown", "1"} + at(to) + QStringList{"mouseup", "1"};
}

// The selection is kept in a state folder of the test's own.
class CaptureSelection : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    environment.insert("XDG_STATE_HOME", state.path());
  }
  // Runs the tool on the words and input; the file it wrote, or a null image.
  QImage taken(const QStringList& words, const QStringList& input) {
    QFile::remove(path);
    ToolResult result =
        interact(words + QStringList{"-x", path}, kSelectionTitle, input, environment);
    EXPECT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    EXPECT_EQ(result.output, path + "\n");
    return readImage(path);
  }
  // A middle click on the way must not end the drag.
  QImage drag(QPoint from, QPoint to) {
    return taken({"-s"}, at(from) + QStringList{"mousedown", "1"} + at((from + to) / 2) +
                             QStringList{"click", "2"} + at(to) +
                             QStringList{"mouseup", "1", "key", "Return"});
  }
  const QString path = file("area.png");
  QTemporaryDir state;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(CaptureSelection, DragWritesExactlyTheDraggedRectangle) {
  const int half = screen.width() / 2;
  const QPoint last(screen.width() - 1, screen.height() - 1);
  const std::tuple<QPoint, QPoint, QRect> rows[] = {
      {{100, 120}, {300, 250}, {100, 120, 200, 130}},
      {{half + 250, 300}, {half + 40, 60}, {half + 40, 60, 210, 240}},  // upwards, second display
      {{half - 50, 10}, {half + 70, 90}, {half - 50, 10, 120, 80}},     // across both displays
      // The pointer stops on a display's last column and row: reaching them includes them.
      {last - QPoint(80, 50), last, {last - QPoint(80, 50), last}},
      {last, {half + 5, 7}, {QPoint(half + 5, 7), last}},
      {{half - 30, 100}, {half - 1, 140}, {half - 30, 100, 30, 40}},
  };
  for (const auto& [from, to, expected] : rows) {
    SCOPED_TRACE(testing::Message()
                 << from.x() << "," << from.y() << " to " << to.x() << "," << to.y());
    EXPECT_EQ(differingPixels(drag(from, to), screen.copy(expected)), 0);
  }
}

// From a drag of 100,120 to 300,250: handles, moves, keys, and the ways of taking it.
TEST_F(CaptureSelection, AdjustedAfterTheDragAndTakenByReturnSpaceOrDoubleClick) {
  const QPoint last(screen.width() - 1, screen.height() - 1);
  const QStringList corner = at({300, 250}) + QStringList{"mousedown", "1"};
  const std::pair<QStringList, QRect> rows[] = {
      {corner + at({340, 280}) + QStringList{"mouseup", "1", "key", "Right", "KP_Right", "Return"},
       {102, 120, 240, 160}},
      {at({100, 185}) + QStringList{"mousedown", "1"} + at({90, 185}) +
           QStringList{"mouseup", "1", "key", "shift+Down", "alt+Right", "space"},
       {90, 130, 211, 130}},
      {at({200, 185}) + QStringList{"mousedown", "1"} + at({150, 160}) +
           QStringList{"mouseup", "1", "key", "alt+shift+Down", "alt+KP_Up", "click", "--repeat",
                       "2", "--delay", "60", "1"},
       {50, 95, 200, 139}},
      // Dragged across the opposite corner, the handle turns into that one.
      {corner + at({60, 100}) + QStringList{"mouseup", "1", "key", "Return"}, {60, 100, 40, 20}},
      // The last column and row, by keys and by a handle.
      {{"key", "--repeat", "150", "shift+Right", "shift+Down", "key", "Return"},
       {last.x() - 199, last.y() - 129, 200, 130}},
      {corner + at(last) + QStringList{"mouseup", "1", "key", "Return"}, {QPoint(100, 120), last}},
      // A click beside it starts no new one.
      {at({500, 300}) + QStringList{"click", "1", "key", "Return"}, {100, 120, 200, 130}},
  };
  for (const auto& [input, expected] : rows) {
    SCOPED_TRACE(input.join(' ').toStdString());
    QImage image = taken({"-s"}, dragging({100, 120}, {300, 250}) + input);
    EXPECT_EQ(differingPixels(image, screen.copy(expected)), 0);
  }
}

// Over each handle the pointer shows the edges a press would move, inside the four-way arrow,
// and beside the selection the crosshair it began with: ten shapes, no two alike.
TEST_F(CaptureSelection, ThePointerShowsWhatAPressWouldTakeHoldOf) {
  ToolRun tool({"-s", "-x", path}, environment);
  ASSERT_TRUE(waitForOverlay(kSelectionTitle));
  ASSERT_TRUE(xdotool(at({500, 300})));
  const QImage crosshair = display.cursor().image;
  // The drag ends on a handle: back beside the selection, each shape follows the one before.
  ASSERT_TRUE(xdotool(dragging({100, 120}, {300, 250}) + at({500, 300})));
  ASSERT_TRUE(eventually([&] { return display.cursor().image == crosshair; }));
  std::vector<QPoint> places{{200, 185}};
  for (const Handle& handle : handlesOf({100, 120, 200, 130}))
    places.emplace_back(handle.x, handle.y);
  std::vector<QImage> shapes{crosshair};
  for (const QPoint place : places) {
    SCOPED_TRACE(place.x() * 1000 + place.y());
    ASSERT_TRUE(xdotool(at(place)));
    EXPECT_TRUE(eventually([&] { return display.cursor().image != shapes.back(); }));
    shapes.push_back(display.cursor().image);
    for (std::size_t i = 0; i + 1 < shapes.size(); ++i) EXPECT_NE(shapes[i], shapes.back()) << i;
  }
  ASSERT_TRUE(xdotool(at({500, 300})));
  EXPECT_TRUE(eventually([&] { return display.cursor().image == crosshair; }));
  ASSERT_TRUE(xdotool({"key", "Escape"}));
  EXPECT_EQ(tool.wait().exitCode, 1);
}

TEST_F(CaptureSelection, SpaceHeldWhileDraggingMovesTheRectangle) {
  const QStringList input = at({100, 120}) + QStringList{"mousedown", "1"} + at({200, 200}) +
                            QStringList{"keydown", "space"} + at({250, 260}) +
                            QStringList{"keyup", "space"} + at({300, 300}) +
                            QStringList{"mouseup", "1", "key", "Return"};
  EXPECT_EQ(differingPixels(taken({"-s"}, input), screen.copy(150, 180, 150, 120)), 0);
}

// -R offers the last selection taken, ready to be taken again; anything else stored is ignored
// and the drag starts as without it (so the first Return does nothing).
TEST_F(CaptureSelection, LastSelectionIsOfferedAgainAndUnusableOnesAreIgnored) {
  const QRect adjusted(101, 120, 200, 130);
  taken({"-s"}, dragging({100, 120}, {300, 250}) + QStringList{"key", "Right", "Return"});
  EXPECT_EQ(differingPixels(taken({"-R"}, {"key", "Return"}), screen.copy(adjusted)), 0);
  EXPECT_EQ(QDir(state.filePath("vantorshot")).entryList(QDir::Files | QDir::Hidden),
            QStringList{"last-selection"});
  const QString stored = state.filePath("vantorshot/last-selection");
  const std::pair<QByteArray, QRect> rows[] = {
      {"7 8 30 40\n", {7, 8, 30, 40}},
      {"7 8 30 40", {50, 60, 40, 40}},
      {"7 8 30 x\n", {50, 60, 40, 40}},
      {"-5 8 30 40\n", {50, 60, 40, 40}},
      {"7 8 0 40\n", {50, 60, 40, 40}},
      {QByteArray::number(screen.width() - 29) + " 8 30 40\n", {50, 60, 40, 40}},
      {QByteArray(5000, '7'), {50, 60, 40, 40}},
  };
  for (const auto& [text, expected] : rows) {
    SCOPED_TRACE(text.left(40).toStdString());
    QFile file(stored);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    QImage image =
        taken({"-s", "-R"}, QStringList{"key", "Return"} + dragging({50, 60}, {90, 100}) +
                                QStringList{"key", "Return"});
    EXPECT_EQ(differingPixels(image, screen.copy(expected)), 0);
  }
}

TEST_F(CaptureSelection, OverlayDimsAllButTheSelectionAndThePictureIsTheFrozenOne) {
  QImage dimmed = screen;
  auto* pixels = reinterpret_cast<QRgb*>(dimmed.bits());
  for (qsizetype i = 0; i < dimmed.sizeInBytes() / 4; ++i) pixels[i] = (pixels[i] >> 1) & 0x7f7f7f;
  const QRect area(100, 60, 200, 130);
  // The overlay is painted right after it maps, and again as the selection grows.
  auto shows = [&](const QImage& expected, QRect where) {
    auto shown = [&] { return readWithImageMagick("x:root").copy(where); };
    return eventually([&] { return differingPixels(shown(), expected.copy(where), 1) == 0; });
  };
  ToolRun tool({"-s", "-x", path}, environment);
  ASSERT_TRUE(waitForOverlay(kSelectionTitle));
  EXPECT_TRUE(shows(dimmed, screen.rect()));
  ASSERT_TRUE(xdotool(at(area.topLeft()) + QStringList{"mousedown", "1"} +
                      at(area.bottomRight() + QPoint(1, 1))));
  EXPECT_TRUE(shows(screen, area));
  // The magnifier, 20 pixels right of and below the pointer, shows the 15x15 pixels around it
  // in cells of 8x8 inside a one-pixel frame.
  const QPoint pointer = area.bottomRight() + QPoint(1, 1), cells = pointer + QPoint(21, 21);
  EXPECT_TRUE(eventually([&] {
    QImage shown = readWithImageMagick("x:root");
    long long wrong = 0;
    for (int i = 0; i < 15 * 15; ++i) {
      QPoint cell(i % 15, i / 15);
      wrong += shown.pixel(cells + cell * 8 + QPoint(4, 4)) !=
               screen.pixel(pointer + cell - QPoint(7, 7));
    }
    return wrong == 0;
  }));
  display.showWindow({90, 110}, blockPattern(300, 200, 1), 0, 0);
  display.showOnRoot(blockPattern(screen.width(), screen.height(), 2));
  ASSERT_TRUE(xdotool({"mouseup", "1", "key", "Return"}));
  ToolResult result = tool.wait();
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(path), screen.copy(area)), 0);
}

TEST_F(CaptureSelection, EscapeRightClickAndAClickWithoutDragCancel) {
  const QStringList dragged = dragging({50, 50}, {120, 140});
  const QStringList rows[] = {
      {"key", "Escape"},
      {"mousemove", "50", "50", "mousedown", "1", "mousemove", "120", "140", "key", "Escape"},
      {"mousemove", "60", "60", "click", "3"},
      {"mousemove", "70", "80", "click", "1"},
      {"key", "Return", "key", "space", "key", "Escape"},
      dragged + QStringList{"key", "Right", "Escape"},
      dragged + QStringList{"click", "3"},
  };
  for (const QStringList& input : rows) {
    SCOPED_TRACE(input.join(' ').toStdString());
    EXPECT_EQ(interact({"-s", "-x", path}, kSelectionTitle, input, environment).exitCode, 1);
    EXPECT_EQ(entries(), QStringList());
    EXPECT_FALSE(QFile::exists(state.filePath("vantorshot/last-selection")));
  }
}

TEST_F(CaptureSelection, RefusedWhileAnotherProgramHoldsTheKeyboard) {
  ASSERT_TRUE(display.grabKeyboard());
  expectRefused(runTool({"-s", "-x", path}), "holds the pointer or keyboard");
}

using CaptureWindow = ScreenTest;
using CapturePointer = ScreenTest;

// A lower window partly under an upper one with a 3-pixel border: the X border stands for a frame.
TEST_F(CaptureWindow, ClickPicksTheTopmostWindowUpToItsFramesEdges) {
  const QRect lowerArea(100, 100, 200, 120), upperFrame(200, 150, 246, 166);
  display.showWindow(lowerArea.topLeft(), blockPattern(200, 120, 47), 0, 0);
  display.showWindow(upperFrame.topLeft(), blockPattern(240, 160, 43), 3, 0xff20c040);
  screen = readWithImageMagick("x:root");
  const QString path = file("window.png");
  const std::pair<QPoint, QRect> rows[] = {
      {upperFrame.topLeft(), upperFrame},
      {upperFrame.bottomRight(), upperFrame},
      {upperFrame.topLeft() - QPoint(1, -10), lowerArea},
      {lowerArea.bottomLeft(), lowerArea},
      // Just outside: the bare desktop, so picking goes on until Escape.
      {upperFrame.topRight() + QPoint(1, 0), {}},
      {upperFrame.bottomLeft() + QPoint(0, 1), {}},
      {lowerArea.topLeft() - QPoint(1, 1), {}},
  };
  for (const auto& [click, picked] : rows) {
    SCOPED_TRACE(testing::Message() << "click at " << click.x() << "," << click.y());
    QFile::remove(path);
    xdotool({"mousemove", "320", "230"});
    ToolResult result =
        interact({"-W", "-o", "-x", path}, kPickerTitle,
                 at({230, 180}) + at(click) + QStringList{"click", "1", "key", "Escape"});
    EXPECT_EQ(result.exitCode, picked.isEmpty() ? 1 : 0) << result.errorOutput.toStdString();
    EXPECT_EQ(QFile::exists(path), !picked.isEmpty());
    if (!picked.isEmpty()) {
      EXPECT_EQ(differingPixels(readImage(path), screen.copy(picked)), 0);
    }
  }
}

// The cursor image is laid over the screen where the pointer is, only with -C.
TEST_F(CapturePointer, DrawnAtItsHotSpotOnlyWhenAskedFor) {
  const QString path = file("pointer.png");
  const std::pair<QPoint, QStringList> rows[] = {
      {{300, 200}, {"-C"}}, {{517, 333}, {"-C"}}, {{400, 100}, {}}};
  for (const auto& [position, words] : rows) {
    SCOPED_TRACE(testing::Message() << position.x() << "," << position.y());
    QFile::remove(path);
    ASSERT_TRUE(xdotool(at(position)));
    ASSERT_EQ(runTool(words + QStringList{"-x", path}).exitCode, 0);
    QImage expected = mainDisplay();
    if (!words.isEmpty()) {
      TestDisplay::Cursor cursor = display.cursor();
      QPainter(&expected).drawImage(cursor.topLeft, cursor.image);
      ASSERT_GT(differingPixels(expected, mainDisplay()), 50) << "the cursor is barely visible";
    }
    EXPECT_EQ(differingPixels(readImage(path), expected, 1), 0);
  }
}

}  // namespace
