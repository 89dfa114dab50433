// Holds a passive grab of one key combination on the root window, as another program that owns
// a global shortcut would, until it is ended. Prints "grabbed" once the server has accepted
// the grab; exits 1 when the server refuses it.
//
//   hold_key_grab KEYSYM [control] [alt] [shift] [super]

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

bool refused = false;

int NoteError(Display*, XErrorEvent* error) {
  if (error->error_code == BadAccess) refused = true;
  return 0;
}

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: hold_key_grab KEYSYM [control] [alt] [shift] [super]\n");
    return 2;
  }
  std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  if (!display) {
    std::fprintf(stderr, "hold_key_grab: no display\n");
    return 2;
  }
  const KeySym symbol = XStringToKeysym(argv[1]);
  const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display.get(), symbol);
  if (code == 0) {
    std::fprintf(stderr, "hold_key_grab: no key for %s\n", argv[1]);
    return 2;
  }
  unsigned int modifiers = 0;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "control") == 0) modifiers |= ControlMask;
    if (std::strcmp(argv[i], "alt") == 0) modifiers |= Mod1Mask;
    if (std::strcmp(argv[i], "shift") == 0) modifiers |= ShiftMask;
    if (std::strcmp(argv[i], "super") == 0) modifiers |= Mod4Mask;
  }
  XSetErrorHandler(NoteError);
  XGrabKey(display.get(), code, modifiers, DefaultRootWindow(display.get()), True, GrabModeAsync,
           GrabModeAsync);
  XSync(display.get(), False);
  if (refused) {
    std::fprintf(stderr, "hold_key_grab: the combination is already grabbed\n");
    return 1;
  }
  std::printf("grabbed\n");
  std::fflush(stdout);
  // The grab lasts as long as the connection; the test ends this process with SIGTERM.
  sigset_t none;
  sigemptyset(&none);
  for (;;) sigsuspend(&none);
}
