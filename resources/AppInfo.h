#pragma once

// The one version text of the system (about box, status bar, EDI/BL file) and the main window's title.
namespace AppInfo {
inline constexpr const char *Version = "1.1.26";
inline constexpr const char *Title = "DALVORA - BILL OF LADING";
inline constexpr const char *WebAddress = "www.dalvora.example.com";
} // namespace AppInfo
