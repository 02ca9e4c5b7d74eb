// The main window's controls other than the point list, addressed by id.
#pragma once

#include <string>

enum ControlId {
    kIdClose = 1,
    kIdCancelKey = 2,
    kIdImport = 3,
    kIdExport = 4,
    kIdRecv = 5,
    kIdSend = 6,
    kIdList = 1000,
    kIdAppend = 1002,
    kIdDelete = 1003,
    kIdEdit = 1004,
    kIdClearAll = 1005,
    kIdPortBox = 1006,
    kIdAbout = 1008,
};

class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual void setCaption(const std::string& text) = 0;
    virtual void enableControl(int id, bool enabled) = 0;
    virtual void setControlText(int id, const std::string& text) = 0;
    // The port box's text as shown (picked or typed).
    virtual std::string portBoxText() = 0;
};
