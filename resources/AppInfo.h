#pragma once

// The version text of the system (about box, status bar, EDI/BL file) and the main window's title. The version is
// the project's version in the top CMakeLists.txt, which the package and its metadata read too.
namespace AppInfo {
extern const char Version[]; // the project's version, written into AppInfo.cpp when the build is configured
inline constexpr const char *Title = "DALVORA - BILL OF LADING";
inline constexpr const char *WebAddress = "www.dalvora.example.com";
// The name of the desktop entry, the icon and the AppStream metadata that the package installs.
inline constexpr const char *DesktopId = "com.example.dalvora";
} // namespace AppInfo
