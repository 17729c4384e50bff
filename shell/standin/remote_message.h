// remote_message.h: how another program sends a window message to the game window on X11.
//
// The stand-in accepts a ClientMessage event sent (XSendEvent, event mask 0) to the game
// window's X window with:
//   message_type  the atom named STANDIN_MESSAGE_ATOM ("SPHERE_SNAKE_MESSAGE"),
//   format        32,
//   data.l[0]     the message number, WM_USER (0x0400) to STANDIN_MESSAGE_LAST (0xBFFF),
//   data.l[1]     wParam,
//   data.l[2]     lParam.
// The message is posted to that window's queue like any posted message, so the game window's
// procedure sees it from its message loop; MSG_SWITCH_SCREEN_MODE (WM_USER + 1) is the one the
// game answers. Numbers below WM_USER (WM_QUIT, key messages, ...) and above the private range,
// other atoms, other formats and other windows are ignored.
//
// The X window is the one whose WM_NAME is the game's caption; with SDL it is the top-level
// window of the game process.
#pragma once

#define STANDIN_MESSAGE_ATOM "SPHERE_SNAKE_MESSAGE"
#define STANDIN_MESSAGE_LAST 0xBFFF
