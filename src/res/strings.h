// The program's string table (texts in code page 932).
#pragma once

constexpr int IDS_ABOUTBOX = 101;
constexpr int IDP_SOCKETS_INIT_FAILED = 103;

// Caption of the program's message boxes.
constexpr const char* kAppTitle = "Quillmoor for Tundra";
// The maker's home page, opened by the links of the panel and the About box.
constexpr const char* kHomePage = "https://quillmoor.example.org/";

// What the preview of a suspended store app says instead of its frozen picture.
constexpr const char* kPausedText = "一時停止中";
// The mark on the preview of a window that does not answer, as the system titles such a window.
constexpr const char* kNotAnsweringText = "応答なし";

// The text of a string resource; empty for an unknown id.
const char* loadResourceString(int id);
