#pragma once

// Fixed facts about the program shown in its windows.
namespace AppInfo {
constexpr int kVersionMajor = 2;
constexpr int kVersionMinor = 4;
// The maker's web page (About box link, Help menu) and the feedback address.
constexpr const char* kMakerWebSite = "https://www.tamsin-grid.example/";
constexpr const char* kFeedbackMail = "support@tamsin-grid.example";
// Name of the lock that keeps the program to one running instance per user.
constexpr const char* kInstanceLockName = "__TRV730_DA_INITIAL_OWNER__";
}  // namespace AppInfo
