#include "app/quillmoor_app.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  win32::Win32Platform adapter;  // initialises the common controls the program uses
  CQuillmoorApp app(adapter.platform());
  return app.run();
}
