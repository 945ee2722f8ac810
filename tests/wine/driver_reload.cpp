// Driver command for the web reload test: the states of items of the open pop-up menu.
//   menu-states MENU_HWND ID...   one line "ID STATE" per id: the MF_GRAYED | MF_DISABLED
//                                 bits, or "missing" when no open menu has it
#include "driver_util.h"

namespace {

using namespace driver;

int MenuStates(HWND popup, wchar_t** ids, int count) {
  // The pop-up window's menu; GetMenuState by command searches its submenus too.
  const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  if (menu == nullptr) return Fail("the pop-up window gives no menu");
  for (int i = 0; i < count; ++i) {
    unsigned long id = 0;
    if (!ParseNumber(ids[i], id)) return Fail("not a menu id: " + Utf8(ids[i]));
    const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
    PrintLine(std::to_string(id) + " " +
              (state == static_cast<UINT>(-1) ? std::string("missing")
                                              : std::to_string(state & (MF_GRAYED | MF_DISABLED))));
  }
  return 0;
}

int Handle(int argc, wchar_t** argv) {
  HWND popup = nullptr;
  if (argc >= 4 && std::wstring(argv[1]) == L"menu-states" && ParseWindow(argv[2], popup)) {
    return MenuStates(popup, argv + 3, argc - 3);
  }
  return -1;
}

const CommandRegistration registration(Handle);

}  // namespace
