// The program's string table (texts in code page 932).
#pragma once

constexpr int IDS_ABOUTBOX = 101;
constexpr int IDP_SOCKETS_INIT_FAILED = 103;

// The text of a string resource; empty for an unknown id.
const char* loadResourceString(int id);
