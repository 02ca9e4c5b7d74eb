// The verbs of the driver protocol.
//
// Every verb takes key=value arguments (see Request.h); "hwnd" is a window
// handle in decimal and "id" a control id inside it. Waits take "timeout" in
// milliseconds. The verbs:
//   hello                                   -> ok x<name>
//   desktop                                 -> ok <hwnd> <width> <height>
//   launch path= [args=] [env=]             -> ok <pid>   env: "NAME=value" lines
//   wait_exit pid= timeout=                 -> ok <exit code> | err timeout
//   alive pid= / kill pid=                  -> ok 1|0 / ok
//   find [class=] [title=] [prefix=1] [pid=] [exclude=h,h] [visible=1] [timeout=]
//                                           -> ok <hwnd> | err timeout
//   windows [class=] [pid=] [visible=1]     -> ok <n> <hwnd>...
//   exists hwnd= / visible hwnd=            -> ok 1|0
//   caption hwnd=                           -> ok x<caption>
//   rect hwnd= [id=]                        -> ok <left> <top> <right> <bottom> (screen pixels)
//   class hwnd= [id=]                       -> ok x<class name>
//   text hwnd= [id=]                        -> ok x<text>        (WM_GETTEXT)
//   settext hwnd= [id=] text=               -> ok                (WM_SETTEXT)
//   enabled hwnd= [id=]                     -> ok 1|0
//   children hwnd=                          -> ok <n> then per child: <id> x<class> x<text> <enabled> <visible>
//   command hwnd= id= [code=]               -> ok   (posts WM_COMMAND)
//   close hwnd=                             -> ok   (posts WM_CLOSE)
//   post hwnd= [id=] msg= [wparam=] [lparam=] -> ok
//   send hwnd= [id=] msg= [wparam=] [lparam=] -> ok <result>
//   register name=                          -> ok <message number>
//   sync hwnd= [id=1000] [timeout=]         -> ok | err timeout
//   lv_count hwnd= [id=1000]                -> ok <rows>
//   lv_rows hwnd= [id=1000] [first=] [count=]
//                                           -> ok <rows> <columns> x<cell>... (row by row)
//   lv_columns hwnd= [id=1000]              -> ok <n> <display order>... x<header>...
//   lv_state hwnd= [id=1000]                -> ok <focused> <top> <per page> <n selected> <row>...
//   lv_select hwnd= [id=1000] row= [selected=1] [focused=1] [visible=1] -> ok
//   lv_paint hwnd= [id=1000] row=           -> ok <scroll us> <paint us> <top row>
//                                              (scrolls the row wholly into view, then repaints the list)
//   paint hwnd= [id=]                       -> ok <us>   (repaints the whole client area at once)
//   pixels hwnd= [id=] x= y= [w=1] [h=1]    -> ok <w> <h> <0xRRGGBB as decimal>... (client pixels as the
//                                              screen shows them, row by row)
//   mouse hwnd= [id=] x= y= [right=1] [clicks=1] [wheel=]
//                                           -> ok   (input at a client point: clicks, or a wheel turn)
//   drag hwnd= [id=] x= y= to_x= to_y=      -> ok   (the left button held from one client point to another)
//   key vk= [shift=1] [ctrl=1]              -> ok   (a key pressed and released, as typed)
//   front hwnd=                             -> ok   (makes it the foreground window)
//   foreground                              -> ok <hwnd>   (the foreground window)
//   client hwnd= [id=]                      -> ok <width> <height>   (of the client area)
//   place hwnd= x= y= w= h=                 -> ok   (moves and sizes a top-level window, screen pixels)
//   cb_items hwnd= id=                      -> ok <n> x<item>...
//   cb_sel hwnd= id=                        -> ok <index>
//   cb_choose hwnd= id= index=              -> ok
//   box hwnd=                               -> ok x<caption> x<text> <icon 1|0> <n> <button id>...
//   fd_name hwnd= [text=]                   -> ok x<file name>   (sets it first when text= is given)
//   fd_types hwnd=                          -> ok <current> <n> x<type>...
//   fd_type hwnd= index=                    -> ok
//   quit                                    -> ok, then the driver ends
#pragma once

#include <string>

namespace e2e {

class Request;

// Runs one request; returns the reply line. Throws DriverError.
std::string runCommand(const Request& request);

}  // namespace e2e
