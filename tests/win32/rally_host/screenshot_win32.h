#pragma once

#include <windows.h>

#include <string>

// Saves what a window shows, frame and caption included, as a 24-bit BMP.
// Returns an empty text on success, else what went wrong.
std::string SaveWindowPicture(HWND window, const std::string& path);

// Where the cases save their pictures: set from the command line; empty
// (no pictures) by default.
void SetPictureFolder(const std::string& folder);
// Saves the window as NAME.bmp in that folder; empty on success or when no
// folder is set, else what went wrong.
std::string SaveCasePicture(HWND window, const std::string& name);
