#pragma once

#include <xcb/xcb.h>

#include "xcb_handles.h"

// A copy of what the root shows now, windows included, kept in the server: the overlay shows it
// and the selection is cut from it, so the picture is what the user saw when the overlay came up
// and no pixel has to travel to this process before the user has chosen.
ServerPixmap freezeScreen(xcb_connection_t* connection, xcb_screen_t* screen);

// A copy of `frozen` at half brightness, darkened by the server (RENDER). Without RENDER the copy
// stays as bright as the screen.
ServerPixmap dimmedCopy(xcb_connection_t* connection, xcb_screen_t* screen, xcb_pixmap_t frozen);
