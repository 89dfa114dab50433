#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include "platform/command_numbers.h"
#include "platform/qt/dark_appearance.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_key_press.h"
#include "platform/qt/qt_requesters.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/toolkit.h"
#include "support/support.h"

// GoogleTest prints a QString as the text it holds.
void PrintTo(const QString& text, std::ostream* out) {
  *out << text.toStdString();
}

namespace {

// Each event as {kind, object, window, type}.
using Events = std::vector<std::vector<std::int64_t>>;

// A Qt toolkit installed for one test, and the events it queued.
class QtToolkitTest : public ::testing::Test {
 protected:
  QtToolkitTest() { InstallNativeToolkit(&toolkit); }
  ~QtToolkitTest() override { InstallNativeToolkit(nullptr); }

  // Every event queued so far, handling what the desktop has pending without waiting.
  static Events TakeEvents() {
    Events events;
    for (int turn = 0; turn < 1000; ++turn) {
      const std::int32_t kind = NextEvent(0);
      if (kind == 0) break;
      if (kind > 0) events.push_back({kind, EventNumber(), EventWindowNumber(), EventSubtype()});
    }
    return events;
  }
  static QWidget* Widget(std::int64_t gadget) {
    return static_cast<QWidget*>(GadgetHandle(gadget));
  }
  static QWidget* WindowWidget(std::int64_t window) {
    return static_cast<QWidget*>(WindowObject(window));
  }

  QtToolkit toolkit;
};

// A temporary configuration folder and no GTK theme variable; the palette is put back after.
class Appearance : public QtToolkitTest {
 protected:
  ~Appearance() override { QApplication::setPalette(light); }
  // Qt picks light text for the dark window; the button's shade tells two dark palettes apart.
  static QPalette Dark(int button = 30) {
    return QPalette(QColor(button, button, button), Qt::black);
  }

  QPalette light = QApplication::palette();
  TemporaryHome home;
  ScopedEnvironment gtkTheme{"GTK_THEME", ""};
};

TEST_F(Appearance, TheThemeVariableThenGtkFourThenGtkThreeThenThePaletteDecide) {
  QApplication::setPalette(Dark());
  EXPECT_TRUE(DesktopIsDark());
  // Each settings file in turn, one line after [Settings]; gtk-4.0 comes before gtk-3.0.
  const std::pair<std::string, bool> cases[] = {
      {"3 gtk-theme-name=Adwaita", false},
      {"3 gtk-application-prefer-dark-theme=1\ngtk-theme-name=Adwaita", true},
      {"3 gtk-application-prefer-dark-theme=0", false},
      {"3 gtk-application-prefer-dark-theme = true", true},
      {"3 no setting", true},
      {"4 gtk-theme-name=Adwaita-dark", true},
      {"4 gtk-theme-name=Yaru", false}};
  for (const auto& [file, dark] : cases) {
    WriteWholeFile(home.config / ("gtk-" + file.substr(0, 1) + ".0") / "settings.ini",
                   "[Settings]\n" + file.substr(2) + "\n");
    EXPECT_EQ(DesktopIsDark(), dark) << file;
  }
  gtkTheme.Set("Adwaita:dark");
  EXPECT_TRUE(DesktopIsDark());
  gtkTheme.Set("Adwaita:light");
  EXPECT_FALSE(DesktopIsDark());
}

TEST_F(Appearance, AChangeIsReportedOnlyWhileObservedAndOnlyWhenTheAnswerChanges) {
  QtHost host(true), none(false);
  QApplication::setPalette(Dark());
  EXPECT_EQ(IsDarkAppearance(), 1);
  host.ObserveAppearance(true);
  none.ObserveAppearance(true);  // no desktop, no watch
  QApplication::setPalette(Dark(10));
  EXPECT_EQ(TakeEvents(), Events{}) << "still dark";
  WriteWholeFile(home.config / "gtk-3.0/settings.ini", "[Settings]\ngtk-theme-name=Adwaita\n");
  QEvent other(QEvent::User);
  QCoreApplication::sendEvent(qApp, &other);
  EXPECT_EQ(TakeEvents(), Events{}) << "only a palette or theme change is looked at";
  QApplication::setPalette(light);
  EXPECT_EQ(TakeEvents(), (Events{{AppearanceChangedEvent, 0, 0, 0}}));
  EXPECT_EQ(IsDarkAppearance(), 0);
  host.ObserveAppearance(false);
  QApplication::setPalette(Dark());
  EXPECT_EQ(TakeEvents(), Events{});
}

// Runs `answer` on the modal dialog of type T once it shows.
template <typename T, typename Answer>
void AnswerWhenShown(Answer answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return ADD_FAILURE() << "no modal dialog";
    answer(dialog);
  });
}

TEST(QtRequesters, AlertsShowTheirChoicesAndGiveTheFocusBackAndTheChooserAFolder) {
  QtRequesters requesters;
  QWidget window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QStringList shown;
  AnswerWhenShown<QMessageBox>([&](QMessageBox* box) {
    for (QAbstractButton* button : box->buttons()) shown << button->text();
    shown.sort();
    shown << box->defaultButton()->text() << QString::number(box->icon());
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == "Non") button->click();
    }
  });
  const auto flags = AlertYesNoCancel | AlertCaution;
  EXPECT_EQ(requesters.RunAlert(MakeAlertRequest("Warning!", "Sure?", flags, "fr-CA")), AnswerNo);
  EXPECT_EQ(shown.join(","), "Annuler,Non,Oui,Oui," + QString::number(QMessageBox::Warning));
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << "the focus came back";
  AnswerWhenShown<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
  EXPECT_EQ(requesters.RunAlert(MakeAlertRequest("Error!", "Failed.", AlertStop, "en")), 0);
  const TemporaryHome home;
  const QString start = QString::fromStdString(home.home.string());
  ASSERT_TRUE(QDir(start).mkpath("Pictures"));
  AnswerWhenShown<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle() + dialog->directory().absolutePath(), "Choose" + start);
    dialog->selectFile(start + "/Pictures");
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(requesters.RunFolderChooser({"Choose", start.toStdString(), ""}),
            (start + "/Pictures").toStdString());
  AnswerWhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(requesters.RunFolderChooser({"Choose", start.toStdString(), ""}), "");
}

TEST(KeyPressFromQt, TheKeysPositionItsCharacterWithShiftOnlyAndTheModifierFlags) {
  constexpr auto None = Qt::NoModifier, Keypad = Qt::KeypadModifier;
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    quint32 xKeycode, keysym;  // as the X server reports them; 0 offscreen
    QString text;
    std::uint16_t keyCode;
    std::u16string characters;
  } cases[] = {
      // The text "\x06" that Control makes is not the character.
      {Qt::Key_F, Qt::ControlModifier | Qt::AltModifier, 0, 0, "\x06", 3, u"f"},
      {Qt::Key_F, Qt::MetaModifier | Qt::ShiftModifier, 41, 0x46, "F", 3, u"F"},
      {Qt::Key_Dollar, Qt::ShiftModifier, 13, 0x24, "$", 21, u"$"},  // the "4" key
      {Qt::Key_Dollar, Qt::ShiftModifier, 0, 0, "$", 21, u"$"},
      {Qt::Key_Escape, None, 0, 0, "", 53, u"\x1b"},
      {Qt::Key_Return, None, 0, 0, "", 36, u"\r"},
      {Qt::Key_Enter, Keypad, 104, 0xff8d, "\r", 76, u"\x03"},
      {Qt::Key_Backspace, None, 0, 0, "", 51, u"\x7f"},
      {Qt::Key_Backtab, Qt::ShiftModifier, 0, 0, "", 48, u"\x19"},
      {Qt::Key_F5, None, 71, 0xffc2, "", 96, u"\uF708"},
      {Qt::Key_F13, None, 0, 0, "", 105, u"\uF710"},
      {Qt::Key_PageDown, None, 117, 0xff56, "", 121, u"\uF72D"},
      {Qt::Key_Delete, None, 0, 0, "", 117, u"\uF728"},
      {Qt::Key_7, Keypad, 0, 0, "", 89, u"7"},
      {Qt::Key_Plus, Keypad, 86, 0xffab, "+", 69, u"+"},
      {Qt::Key_7, None, 0, 0, "", 26, u"7"},
      {Qt::Key_Eacute, None, 0, 0xe9, QString::fromUtf8("é"), 0xFFFF, u"é"},
      {Qt::Key_unknown, None, 0, 0x10003b1, QString::fromUtf8("α"), 0xFFFF, u"α"},
      {Qt::Key_unknown, None, 0, 0x6c1, QString::fromUtf8("а"), 0xFFFF, u"а"},  // Cyrillic
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "Qt key 0x" << std::hex << c.key);
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.xKeycode, c.keysym, 0, c.text);
    const KeyPress press = KeyPressFromQt(event, 3);
    EXPECT_TRUE(press.type == KeyEventType::KeyDown && press.window == 3);
    EXPECT_EQ(press.keyCode, c.keyCode);
    EXPECT_EQ(press.characters, c.characters);
    EXPECT_EQ(press.modifierFlags, ((c.modifiers & Qt::ShiftModifier) ? ModifierShift : 0) |
                                       ((c.modifiers & Qt::ControlModifier) ? ModifierControl : 0) |
                                       ((c.modifiers & Qt::AltModifier) ? ModifierOption : 0) |
                                       ((c.modifiers & Qt::MetaModifier) ? ModifierCommand : 0));
  }
  const KeyPress shift =
      KeyPressFromQt(QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier), -1);
  EXPECT_EQ(shift.type, KeyEventType::FlagsChanged);
  EXPECT_TRUE(shift.characters.empty());
  EXPECT_EQ(KeyPressFromQt(QKeyEvent(QEvent::KeyRelease, Qt::Key_A, {}), -1).type,
            KeyEventType::KeyUp);
}

int consume = 0;
std::vector<std::int64_t> offered;  // the window of each key press offered to the hooks
int Offer(const KeyPress& press, void*) {
  if (press.type != KeyEventType::KeyDown) return 0;
  offered.push_back(press.window);
  return consume;
}

using KeyRouting = QtToolkitTest;

// Key hooks see each press once, before the focused widget and the window's shortcuts.
TEST_F(KeyRouting, EachPressIsOfferedOnceAndOnlyUnconsumedOnesActFurther) {
  ASSERT_EQ(NewWindow(1, 50, 50, 300, 120, "Keys", WindowCloseButton), 1);
  auto* field = new QLineEdit(WindowWidget(1));
  field->show();
  WindowWidget(1)->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(WindowWidget(1)));
  field->setFocus();
  int triggered = 0;
  QAction quit(WindowWidget(1));
  quit.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  WindowWidget(1)->addAction(&quit);
  QObject::connect(&quit, &QAction::triggered, [&triggered] { ++triggered; });
  AddKeyboardShortcut(1, KeyEscape, 4000);
  const std::int64_t hook = AddKeyHook(Offer, nullptr);
  for (consume = 0; consume < 2; ++consume) {
    QTest::keyClicks(field, "ab");
    QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Escape);
  }
  RemoveKeyHook(hook);
  EXPECT_EQ(field->text(), "ab") << "consumed presses reach no widget";
  EXPECT_EQ(triggered, 1) << "nor a Qt shortcut";
  EXPECT_EQ(TakeEvents(), (Events{{MenuEvent, 4000, 1, 0}})) << "nor a window shortcut";
  EXPECT_EQ(offered, std::vector<std::int64_t>(8, 1)) << "each press once, with its window";
}

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using EventWait = QtToolkitTest;

TEST_F(EventWait, ATimeOutSleepsAndAWakeOrAPostEndsTheWait) {
  TakeEvents();
  const std::clock_t cpu = std::clock();
  Clock::time_point start = Clock::now();
  std::int32_t kind = -1;
  // A system event that queues nothing ends a wait with -1; the time-out ends it with 0.
  while (kind == -1) kind = NextEvent(300);
  EXPECT_EQ(kind, 0);
  EXPECT_GE(Clock::now() - start, milliseconds(290));
  EXPECT_LT(std::clock() - cpu, CLOCKS_PER_SEC / 10) << "the wait must not spin";
  std::thread waker([] {
    std::this_thread::sleep_for(milliseconds(100));
    InstalledNativeToolkit()->Wake();
  });
  start = Clock::now();
  EXPECT_EQ(NextEvent(), -1);
  waker.join();
  EXPECT_GE(Clock::now() - start, milliseconds(90));
  QTimer::singleShot(50, [] { QueueEvent(HotkeyEvent3, 0, HotkeyWindow, 0, PostCustom); });
  for (kind = -1; kind == -1;) kind = NextEvent(5000);
  EXPECT_EQ(kind, HotkeyEvent3);
  QEvent quit(QEvent::Quit);
  QObject other;
  EXPECT_FALSE(QCoreApplication::sendEvent(&other, &quit)) << "only the application's is taken";
  QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
  EXPECT_EQ(TakeEvents(), (Events{{MenuEvent, QuitMenuNumber, ApplicationMenuWindow, 0}}));
}

std::vector<std::int64_t> fired;  // the timer of each firing
void Fire(std::int64_t timer, void*) {
  fired.push_back(timer);
}
void FireOnce(std::int64_t timer, void*) {
  fired.push_back(timer);
  RemoveTimer(timer);
}

TEST_F(EventWait, TimersFireInsideTheWaitUntilRemovedEvenFromTheirOwnCallback) {
  const std::int64_t once = AddTimer(5, FireOnce, nullptr), timer = AddTimer(10, Fire, nullptr);
  for (const auto end = Clock::now() + std::chrono::seconds(5);
       std::count(fired.begin(), fired.end(), timer) < 3 && Clock::now() < end;) {
    NextEvent(100);
  }
  RemoveTimer(timer);
  while (NextEvent(60) != 0) {
  }
  EXPECT_EQ(std::count(fired.begin(), fired.end(), once), 1);
  EXPECT_EQ(std::count(fired.begin(), fired.end(), timer), 3) << "removed after its third";
}

class Gadgets : public QtToolkitTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(NewWindow(1, 100, 100, 400, 300, "Gadgets", WindowCloseButton), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WindowWidget(1)));
    WindowWidget(1)->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(WindowWidget(1)));
  }
  // Opens the pop-up list and clicks one of its items, as a person does.
  static void Choose(QComboBox* combo, int item) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    // The list ignores a release that comes sooner than a double click after it opened.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(item, 0)).center());
  }
};

TEST_F(Gadgets, ClicksAndChoicesPostTheirGadgetWithTheNewState) {
  NewButtonGadget(12, 10, 10, 100, 30, "Press");
  NewCheckboxGadget(13, 10, 50, 200, 30, "Sound");
  NewComboBoxGadget(14, 10, 90, 200, 30, 0);
  for (const char* item : {"PNG", "JPEG", "TIFF"}) AddGadgetItem(14, -1, item);
  AddGadgetItem(14, 0, "BMP");
  SetGadgetItemText(14, 0, "PDF");
  SetGadgetState(14, 1);
  SetGadgetState(13, 1);
  SetGadgetState(13, 0);
  EXPECT_EQ(TakeEvents(), Events{}) << "setting a state is not a click";
  QTest::mouseClick(Widget(12), Qt::LeftButton);
  EXPECT_EQ(TakeEvents(), (Events{{GadgetEvent, 12, 1, SubtypeClick}}));
  // On the box itself: the empty part of the frame right of the label is no target.
  QTest::mouseClick(Widget(13), Qt::LeftButton, {}, QPoint(8, 15));
  ASSERT_EQ(NextEvent(0), GadgetEvent);
  EXPECT_EQ(GetGadgetState(13), 1) << "the box toggled before its click arrived";
  for (const int item : {1, 1, 3}) {  // choosing the selected item is reported too
    Choose(static_cast<QComboBox*>(Widget(14)), item);
    EXPECT_EQ(TakeEvents(), (Events{{GadgetEvent, 14, 1, SubtypeChange}}));
  }
  EXPECT_EQ(GetGadgetState(14), 3);
  EXPECT_EQ(GetGadgetText(14) + GetGadgetItemText(14, 0) + GetGadgetItemText(14, 4), "TIFFPDF");
  EXPECT_EQ(CountGadgetItems(14), 4);
  DisableGadget(12, 1);
  QTest::mouseClick(Widget(12), Qt::LeftButton);
  EXPECT_EQ(TakeEvents(), Events{}) << "disabled";
  FreeGadget(12);
  EXPECT_TRUE(WindowWidget(1)->findChildren<QPushButton*>().isEmpty());
}

TEST_F(Gadgets, AnEditableComboReportsGainingTheFocusTypingAndTheEndOfEditing) {
  NewButtonGadget(12, 10, 10, 100, 30, "Press");
  NewCheckboxGadget(13, 10, 50, 200, 30, "Sound");
  NewComboBoxGadget(15, 10, 90, 200, 30, ComboEditable);
  QLineEdit* edit = static_cast<QComboBox*>(Widget(15))->lineEdit();
  // Focus moving between other gadgets is none of its business.
  Widget(12)->setFocus();
  QTest::mouseClick(Widget(12), Qt::LeftButton);
  Widget(13)->setFocus();
  edit->setFocus();
  QTest::keyClicks(edit, "ab");
  Widget(12)->setFocus();
  EXPECT_EQ(TakeEvents(), (Events{{GadgetEvent, 12, 1, SubtypeClick},
                                  {GadgetEvent, 15, 1, SubtypeFocus},
                                  {GadgetEvent, 15, 1, SubtypeChange},
                                  {GadgetEvent, 15, 1, SubtypeEditEnd}}));
  EXPECT_EQ(GetGadgetText(15), "ab");
}

TEST_F(Gadgets, TheCloseButtonOnlyReportsAndTextsColoursAndFontsReachTheWidgets) {
  EXPECT_FALSE(WindowWidget(1)->close());
  EXPECT_TRUE(WindowWidget(1)->isVisible());
  EXPECT_EQ(TakeEvents(), (Events{{CloseWindowEvent, 1, 1, 0}}));
  NewTextGadget(16, 10, 170, 200, 20, "Folder");
  SetGadgetColor(16, ColorFront, 0x0000FF);
  EXPECT_EQ(Widget(16)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  SetGadgetFont(16, NewFont(AutoNumber, "Sans", 21));
  EXPECT_EQ(Widget(16)->font().pixelSize(), 21);
  SetGadgetText(16, "Dossier");
  SetWindowTitle(1, "Fenêtre");
  EXPECT_EQ(GetGadgetText(16) + GetWindowTitle(1), "DossierFenêtre");
  DestroyWindow(1);
  EXPECT_EQ(WindowExists(1), 0);
}

using ScreenObjects = QtToolkitTest;

// A menu as shown: each item's text and key, submenus in brackets.
QString Shown(const QMenu* menu) {
  QString text;
  for (const QAction* a : menu->actions()) {
    text += a->isSeparator() ? "-|" : a->text() + "=" + a->shortcut().toString() + "|";
    if (a->menu() != nullptr) text += "[" + Shown(a->menu()) + "]";
  }
  return text;
}

TEST_F(ScreenObjects, MenuItemsShowTitleAndHintAndPostTheirNumber) {
  ASSERT_EQ(NewPopupMenu(0), 0);
  AddMenuItem(0, 1, "Capture Entire Screen (5 sec Timer)\tShift+Cmd+3");
  AddMenuItem(0, 2, "Capture Window...\tCtrl+Alt+F5");
  AddMenuSeparator(0);
  OpenSubMenu(0, "More...");
  AddMenuItem(0, 6, "About");
  CloseSubMenu(0);
  AddMenuItem(0, 9, "Quit\tCmd+Q");
  ASSERT_EQ(CreateStatusItem(), 1);
  SetStatusItemMenu(0);
  QMenu* menu = toolkit.StatusItem()->contextMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu),
            "Capture Entire Screen (5 sec Timer)=Meta+Shift+3|Capture Window...=Ctrl+Alt+F5|-|"
            "More...=|[About=|]Quit=Meta+Q|");
  menu->actions()[3]->menu()->actions()[0]->trigger();
  menu->actions()[1]->trigger();
  EXPECT_EQ(TakeEvents(), (Events{{MenuEvent, 6, 0, 0}, {MenuEvent, 2, 0, 0}}));
  SetMenuItemDisabled(0, 6, 1);
  EXPECT_FALSE(menu->actions()[3]->menu()->actions()[0]->isEnabled());
  SetMenuItemTitle(0, 1, "Capture Entire Screen\t");
  EXPECT_TRUE(Shown(menu).startsWith("Capture Entire Screen=|Capture Window..."));
  const QPointer<QMenu> kept(menu);
  NewPopupMenu(1);
  FreeMenu(1);
  EXPECT_FALSE(kept.isNull()) << "freeing another menu keeps this one";
  FreeMenu(0);
  EXPECT_EQ(toolkit.StatusItem()->contextMenu(), nullptr);
  RemoveStatusItem();
  EXPECT_EQ(toolkit.StatusItem(), nullptr);
}

}  // namespace
