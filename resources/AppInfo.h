#pragma once

// The version text of the system (about box, status bar, EDI/BL file) and the main window's title. The version is
// the project's version in the top CMakeLists.txt.
namespace AppInfo {
extern const char Version[]; // the project's version, written into AppInfo.cpp when the build is configured
inline constexpr const char *Title = "DALVORA - BILL OF LADING";
inline constexpr const char *WebAddress = "www.dalvora.example.com";
} // namespace AppInfo
