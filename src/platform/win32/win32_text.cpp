// The port's texts are code page 932 on every system: converted here, at the border.
#include "platform/win32/win32_platform.h"

#include "platform/cp932.h"

namespace win32 {

namespace {

constexpr UINT kProgramCodePage = 932;

std::string narrow(const std::wstring& text, DWORD flags, BOOL* usedDefault) {
  if (text.empty()) return {};
  const int units = static_cast<int>(text.size());
  int length = WideCharToMultiByte(kProgramCodePage, flags, text.data(), units, nullptr, 0, nullptr,
                                   usedDefault);
  if (length <= 0) return {};
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kProgramCodePage, flags, text.data(), units, bytes.data(), length, nullptr,
                      usedDefault);
  return bytes;
}

}  // namespace

std::wstring fromProgramText(const std::string& text) {
  if (text.empty()) return {};
  const int bytes = static_cast<int>(text.size());
  int length = MultiByteToWideChar(kProgramCodePage, 0, text.data(), bytes, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kProgramCodePage, 0, text.data(), bytes, wide.data(), length);
  return wide;
}

std::string toProgramText(const std::wstring& text) {
  // The code page's best fit, else its default character: what the ANSI calls of a
  // Japanese system give, byte for byte.
  return narrow(text, 0, nullptr);
}

std::string toProgramText(const std::wstring& text, size_t maxBytes) {
  std::string bytes = toProgramText(text);
  size_t end = 0;
  while (end < bytes.size()) {
    const size_t next =
        end + (platform::isCp932LeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1);
    if (next > maxBytes || next > bytes.size()) break;
    end = next;
  }
  bytes.resize(end);
  return bytes;
}

bool holdsExactly(const std::wstring& text) {
  BOOL usedDefault = FALSE;
  narrow(text, WC_NO_BEST_FIT_CHARS, &usedDefault);
  return !usedDefault;
}

}  // namespace win32
