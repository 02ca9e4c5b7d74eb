#include "Commands.h"

#include "Codec.h"
#include "ComboBox.h"
#include "Controls.h"
#include "DriverError.h"
#include "FileDialogs.h"
#include "ListView.h"
#include "MessageBoxes.h"
#include "Processes.h"
#include "Request.h"
#include "Screen.h"
#include "TopWindows.h"

#include <map>
#include <sstream>

namespace e2e {

namespace {

const long long kListId = 1000;

using Handler = std::string (*)(const Request&);

DWORD timeoutOf(const Request& r) { return static_cast<DWORD>(r.number("timeout", 0)); }

HWND windowOrThrow(const Request& r) {
    HWND window = r.window();
    if (!IsWindow(window)) throw DriverError("no such window");
    return window;
}

// The control named by id=, or the window itself when no id is given.
HWND target(const Request& r) {
    HWND window = windowOrThrow(r);
    return r.has("id") ? control(window, static_cast<int>(r.number("id"))) : window;
}

HWND listOf(const Request& r) { return control(windowOrThrow(r), static_cast<int>(r.number("id", kListId))); }

std::string flag(bool value) { return Reply().num(value ? 1 : 0).line(); }

WindowQuery queryOf(const Request& r) {
    WindowQuery query;
    if (r.has("class")) {
        query.hasClass = true;
        query.className = utf8ToWide(r.text("class"));
    }
    if (r.has("title")) {
        query.hasTitle = true;
        query.title = utf8ToWide(r.text("title"));
    }
    query.titlePrefix = r.number("prefix", 0) != 0;
    query.pid = static_cast<DWORD>(r.number("pid", 0));
    for (long long h : r.numbers("exclude")) query.exclude.push_back(reinterpret_cast<HWND>(static_cast<INT_PTR>(h)));
    query.visibleOnly = r.number("visible", 1) != 0;
    return query;
}

std::string hello(const Request&) { return Reply().str("e2edriver").line(); }

// Makes sure the desktop exists (Wine starts its desktop process on first use)
// and tells its size.
std::string desktop(const Request&) {
    HWND window = GetDesktopWindow();
    RECT rect{};
    GetWindowRect(window, &rect);
    return Reply().num(reinterpret_cast<INT_PTR>(window)).num(rect.right - rect.left).num(rect.bottom - rect.top).line();
}

std::string launch(const Request& r) {
    std::vector<std::wstring> environment;
    std::istringstream lines(r.text("env", ""));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty()) environment.push_back(utf8ToWide(line));
    }
    DWORD pid = launchProgram(utf8ToWide(r.text("path")), utf8ToWide(r.text("args", "")), environment);
    return Reply().num(pid).line();
}

std::string waitExit(const Request& r) {
    DWORD code = 0;
    if (!waitProcessExit(static_cast<DWORD>(r.number("pid")), timeoutOf(r), &code)) throw DriverError("timeout");
    return Reply().num(code).line();
}

std::string alive(const Request& r) { return flag(processAlive(static_cast<DWORD>(r.number("pid")))); }

std::string kill(const Request& r) {
    killProcess(static_cast<DWORD>(r.number("pid")));
    return "ok";
}

std::string find(const Request& r) {
    HWND found = waitTopWindow(queryOf(r), timeoutOf(r));
    if (!found) throw DriverError("timeout");
    return Reply().num(reinterpret_cast<INT_PTR>(found)).line();
}

std::string windows(const Request& r) {
    std::vector<HWND> found = findTopWindows(queryOf(r));
    Reply reply;
    reply.num(static_cast<long long>(found.size()));
    for (HWND window : found) reply.num(reinterpret_cast<INT_PTR>(window));
    return reply.line();
}

std::string exists(const Request& r) { return flag(IsWindow(r.window()) != FALSE); }

std::string visible(const Request& r) { return flag(IsWindowVisible(windowOrThrow(r)) != FALSE); }

std::string rect(const Request& r) {
    RECT box{};
    if (!GetWindowRect(target(r), &box)) throw DriverError("GetWindowRect failed");
    return Reply().num(box.left).num(box.top).num(box.right).num(box.bottom).line();
}

std::string caption(const Request& r) { return Reply().wide(windowCaption(windowOrThrow(r))).line(); }

std::string className(const Request& r) { return Reply().wide(windowClass(target(r))).line(); }

std::string text(const Request& r) { return Reply().wide(controlText(target(r))).line(); }

std::string setText(const Request& r) {
    setControlText(target(r), utf8ToWide(r.text("text")));
    return "ok";
}

std::string enabled(const Request& r) { return flag(IsWindowEnabled(target(r)) != FALSE); }

std::string children(const Request& r) {
    std::vector<ChildInfo> all = listChildren(windowOrThrow(r));
    Reply reply;
    reply.num(static_cast<long long>(all.size()));
    for (const ChildInfo& child : all)
        reply.num(child.id).wide(child.className).wide(child.text).num(child.enabled).num(child.visible);
    return reply.line();
}

std::string command(const Request& r) {
    postCommand(windowOrThrow(r), static_cast<int>(r.number("id")), static_cast<int>(r.number("code", 0)));
    return "ok";
}

std::string close(const Request& r) {
    postOrThrow(windowOrThrow(r), WM_CLOSE, 0, 0);
    return "ok";
}

std::string post(const Request& r) {
    postOrThrow(target(r), static_cast<UINT>(r.number("msg")), static_cast<WPARAM>(r.number("wparam", 0)),
                static_cast<LPARAM>(r.number("lparam", 0)));
    return "ok";
}

std::string send(const Request& r) {
    LRESULT result = sendOrThrow(target(r), static_cast<UINT>(r.number("msg")),
                                 static_cast<WPARAM>(r.number("wparam", 0)), static_cast<LPARAM>(r.number("lparam", 0)));
    return Reply().num(result).line();
}

std::string registerMessage(const Request& r) {
    return Reply().num(RegisterWindowMessageW(utf8ToWide(r.text("name")).c_str())).line();
}

std::string sync(const Request& r) {
    if (!listSync(listOf(r), static_cast<DWORD>(r.number("timeout", 5000)))) throw DriverError("timeout");
    return "ok";
}

std::string lvCount(const Request& r) { return Reply().num(listItemCount(listOf(r))).line(); }

std::string lvRows(const Request& r) {
    HWND list = listOf(r);
    auto rows = listRows(list, static_cast<int>(r.number("first", 0)), static_cast<int>(r.number("count", -1)));
    Reply reply;
    reply.num(static_cast<long long>(rows.size())).num(listColumnCount(list));
    for (const auto& row : rows)
        for (const auto& cell : row) reply.wide(cell);
    return reply.line();
}

std::string lvColumns(const Request& r) {
    ListColumns columns = listColumns(listOf(r));
    Reply reply;
    reply.num(static_cast<long long>(columns.headers.size()));
    for (int index : columns.order) reply.num(index);
    for (const auto& header : columns.headers) reply.wide(header);
    return reply.line();
}

std::string lvState(const Request& r) {
    ListState state = listState(listOf(r));
    Reply reply;
    reply.num(state.focused).num(state.topIndex).num(state.perPage).num(static_cast<long long>(state.selected.size()));
    for (int row : state.selected) reply.num(row);
    return reply.line();
}

std::string lvSelect(const Request& r) {
    listSetState(listOf(r), static_cast<int>(r.number("row")), r.number("selected", 1) != 0,
                 r.number("focused", 1) != 0, r.number("visible", 1) != 0);
    return "ok";
}

std::string lvPaint(const Request& r) {
    ListPaint paint = listScrollAndPaint(listOf(r), static_cast<int>(r.number("row")));
    return Reply().num(paint.scrollUs).num(paint.paintUs).num(paint.topIndex).line();
}

std::string paint(const Request& r) { return Reply().num(repaintWindow(target(r))).line(); }

std::string pixels(const Request& r) {
    int width = static_cast<int>(r.number("w", 1)), height = static_cast<int>(r.number("h", 1));
    auto colours = clientPixels(target(r), static_cast<int>(r.number("x")), static_cast<int>(r.number("y")), width,
                                height);
    Reply reply;
    reply.num(width).num(height);
    for (std::uint32_t colour : colours) reply.num(colour);
    return reply.line();
}

std::string mouse(const Request& r) {
    mouseAt(target(r), static_cast<int>(r.number("x")), static_cast<int>(r.number("y")),
            r.number("right", 0) ? VK_RBUTTON : VK_LBUTTON, static_cast<int>(r.number("clicks", 1)),
            static_cast<int>(r.number("wheel", 0)));
    return "ok";
}

std::string drag(const Request& r) {
    dragFrom(target(r), static_cast<int>(r.number("x")), static_cast<int>(r.number("y")),
             static_cast<int>(r.number("to_x")), static_cast<int>(r.number("to_y")));
    return "ok";
}

std::string key(const Request& r) {
    pressKey(static_cast<WORD>(r.number("vk")), r.number("shift", 0) != 0, r.number("ctrl", 0) != 0);
    return "ok";
}

std::string foreground(const Request&) { return Reply().num(reinterpret_cast<INT_PTR>(GetForegroundWindow())).line(); }

std::string client(const Request& r) {
    RECT box{};
    if (!GetClientRect(target(r), &box)) throw DriverError("GetClientRect failed");
    return Reply().num(box.right).num(box.bottom).line();
}

std::string place(const Request& r) {
    if (!SetWindowPos(windowOrThrow(r), nullptr, static_cast<int>(r.number("x")), static_cast<int>(r.number("y")),
                      static_cast<int>(r.number("w")), static_cast<int>(r.number("h")),
                      SWP_NOZORDER | SWP_NOACTIVATE))
        throw DriverError("SetWindowPos failed");
    return "ok";
}

std::string front(const Request& r) {
    bringToFront(windowOrThrow(r));
    return "ok";
}

std::string cbItems(const Request& r) {
    auto items = comboItems(target(r));
    Reply reply;
    reply.num(static_cast<long long>(items.size()));
    for (const auto& item : items) reply.wide(item);
    return reply.line();
}

std::string cbSel(const Request& r) { return Reply().num(comboSelection(target(r))).line(); }

std::string cbChoose(const Request& r) {
    comboChoose(target(r), static_cast<int>(r.number("index")));
    return "ok";
}

std::string box(const Request& r) {
    MessageBoxInfo info = describeMessageBox(windowOrThrow(r));
    Reply reply;
    reply.wide(info.caption).wide(info.text).num(info.hasIcon).num(static_cast<long long>(info.buttons.size()));
    for (int id : info.buttons) reply.num(id);
    return reply.line();
}

std::string fdName(const Request& r) {
    HWND dialog = windowOrThrow(r);
    if (r.has("text")) setFileName(dialog, utf8ToWide(r.text("text")));
    return Reply().wide(fileName(dialog)).line();
}

std::string fdTypes(const Request& r) {
    HWND dialog = windowOrThrow(r);
    auto types = fileTypes(dialog);
    Reply reply;
    reply.num(fileType(dialog)).num(static_cast<long long>(types.size()));
    for (const auto& type : types) reply.wide(type);
    return reply.line();
}

std::string fdType(const Request& r) {
    chooseFileType(windowOrThrow(r), static_cast<int>(r.number("index")));
    return "ok";
}

const std::map<std::string, Handler>& handlers() {
    static const std::map<std::string, Handler> table = {
        {"hello", hello},       {"desktop", desktop},   {"launch", launch},     {"wait_exit", waitExit},
        {"alive", alive},       {"kill", kill},         {"find", find},
        {"windows", windows},   {"exists", exists},     {"visible", visible},
        {"caption", caption},   {"rect", rect},   {"class", className},   {"text", text},
        {"settext", setText},   {"enabled", enabled},   {"children", children},
        {"command", command},   {"close", close},       {"post", post},
        {"send", send},         {"register", registerMessage},
        {"sync", sync},         {"lv_count", lvCount},  {"lv_rows", lvRows},
        {"lv_columns", lvColumns}, {"lv_state", lvState}, {"lv_select", lvSelect},
        {"lv_paint", lvPaint},
        {"paint", paint},       {"pixels", pixels},     {"mouse", mouse},
        {"key", key},           {"front", front},       {"drag", drag},
        {"foreground", foreground}, {"client", client}, {"place", place},
        {"cb_items", cbItems},  {"cb_sel", cbSel},      {"cb_choose", cbChoose},
        {"box", box},           {"fd_name", fdName},    {"fd_types", fdTypes},
        {"fd_type", fdType},
    };
    return table;
}

}  // namespace

std::string runCommand(const Request& request) {
    auto it = handlers().find(request.verb());
    if (it == handlers().end()) throw DriverError("unknown verb '" + request.verb() + "'");
    return it->second(request);
}

}  // namespace e2e
