// The main window's controls other than the point list, addressed by id
// (kId..., resources/resource.h).
#pragma once

#include <string>

#include "resources/resource.h"

class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual void setCaption(const std::string& text) = 0;
    virtual void enableControl(int id, bool enabled) = 0;
    virtual void setControlText(int id, const std::string& text) = 0;
    // The port box's text as shown (picked or typed).
    virtual std::string portBoxText() = 0;
};
