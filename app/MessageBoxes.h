// Message boxes, shown modally on the user-interface thread.
#pragma once

#include <string>

enum class BoxOwner { MainWindow, None };
enum class BoxIcon { None, Error, Warning, Information };
enum class BoxButtons { Ok, OkCancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows text with caption; returns true for OK, false for Cancel.
    virtual bool show(BoxOwner owner, const std::string& text, const std::string& caption,
                      BoxIcon icon, BoxButtons buttons) = 0;
};
