// Everything the platform-free command logic reaches the platform through.
// The Win32 layer fills one of these for the main window; tests fill one
// with fakes.
#pragma once

class TextTable;
class MessageBoxes;
class MainWindowView;
class PointListView;
class Dialogs;
class FileDialogs;
class FileSystem;
class LinkPlatform;
class TextEncoding;
class CoordinateSystems;

struct Platform {
    const TextTable& texts;
    MessageBoxes& boxes;
    MainWindowView& window;
    PointListView& list;
    Dialogs& dialogs;
    FileDialogs& files;
    FileSystem& fileSystem;
    LinkPlatform& link;
    // The code page that the points' names and marks are in (the system's
    // ANSI code page), for the outputs that convert them to UTF-8; nullptr:
    // they are UTF-8 already.
    const TextEncoding* pointTexts = nullptr;
    // The coordinate systems for the outputs in WGS 84 (PROJ and its
    // database beside the program); nullptr: the program offers none.
    CoordinateSystems* coordinateSystems = nullptr;
};
