// The one table from SDL scancodes to Windows virtual-key codes.
#include "platform/sdl/input_keys.h"

namespace {

// Windows virtual-key codes that platform/win32.h does not name (the game never asks for them).
enum : int {
  VkSnapshot = 0x2C,
  VkLeftWin = 0x5B,
  VkRightWin = 0x5C,
  VkApps = 0x5D,
  VkNumpad0 = 0x60,
  VkMultiply = 0x6A,
  VkAdd = 0x6B,
  VkSubtract = 0x6D,
  VkDecimal = 0x6E,
  VkDivide = 0x6F,
  VkNumLock = 0x90,
  VkScroll = 0x91,
  VkOemSemicolon = 0xBA, // VK_OEM_1
  VkOemPlus = 0xBB,
  VkOemComma = 0xBC,
  VkOemMinus = 0xBD,
  VkOemPeriod = 0xBE,
  VkOemSlash = 0xBF,        // VK_OEM_2
  VkOemBackquote = 0xC0,    // VK_OEM_3
  VkOemOpenBracket = 0xDB,  // VK_OEM_4
  VkOemBackslash = 0xDC,    // VK_OEM_5
  VkOemCloseBracket = 0xDD, // VK_OEM_6
  VkOemQuote = 0xDE,        // VK_OEM_7
  VkOem102 = 0xE2,
};

struct KeyMapping {
  SDL_Scancode scancode;
  int virtualKey;
};

// Keys by position, as the US layout names them; left and right modifiers share one code, as in
// WM_KEYDOWN's wParam.
const KeyMapping KeyTable[] = {
    {SDL_SCANCODE_A, 'A'},
    {SDL_SCANCODE_B, 'B'},
    {SDL_SCANCODE_C, 'C'},
    {SDL_SCANCODE_D, 'D'},
    {SDL_SCANCODE_E, 'E'},
    {SDL_SCANCODE_F, 'F'},
    {SDL_SCANCODE_G, 'G'},
    {SDL_SCANCODE_H, 'H'},
    {SDL_SCANCODE_I, 'I'},
    {SDL_SCANCODE_J, 'J'},
    {SDL_SCANCODE_K, 'K'},
    {SDL_SCANCODE_L, 'L'},
    {SDL_SCANCODE_M, 'M'},
    {SDL_SCANCODE_N, 'N'},
    {SDL_SCANCODE_O, 'O'},
    {SDL_SCANCODE_P, 'P'},
    {SDL_SCANCODE_Q, 'Q'},
    {SDL_SCANCODE_R, 'R'},
    {SDL_SCANCODE_S, 'S'},
    {SDL_SCANCODE_T, 'T'},
    {SDL_SCANCODE_U, 'U'},
    {SDL_SCANCODE_V, 'V'},
    {SDL_SCANCODE_W, 'W'},
    {SDL_SCANCODE_X, 'X'},
    {SDL_SCANCODE_Y, 'Y'},
    {SDL_SCANCODE_Z, 'Z'},
    {SDL_SCANCODE_1, '1'},
    {SDL_SCANCODE_2, '2'},
    {SDL_SCANCODE_3, '3'},
    {SDL_SCANCODE_4, '4'},
    {SDL_SCANCODE_5, '5'},
    {SDL_SCANCODE_6, '6'},
    {SDL_SCANCODE_7, '7'},
    {SDL_SCANCODE_8, '8'},
    {SDL_SCANCODE_9, '9'},
    {SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_F1, VK_F1},
    {SDL_SCANCODE_F2, VK_F2},
    {SDL_SCANCODE_F3, VK_F3},
    {SDL_SCANCODE_F4, VK_F4},
    {SDL_SCANCODE_F5, VK_F5},
    {SDL_SCANCODE_F6, VK_F6},
    {SDL_SCANCODE_F7, VK_F7},
    {SDL_SCANCODE_F8, VK_F8},
    {SDL_SCANCODE_F9, VK_F9},
    {SDL_SCANCODE_F10, VK_F10},
    {SDL_SCANCODE_F11, VK_F11},
    {SDL_SCANCODE_F12, VK_F12},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_LGUI, VkLeftWin},
    {SDL_SCANCODE_RGUI, VkRightWin},
    {SDL_SCANCODE_APPLICATION, VkApps},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_PRINTSCREEN, VkSnapshot},
    {SDL_SCANCODE_SCROLLLOCK, VkScroll},
    {SDL_SCANCODE_NUMLOCKCLEAR, VkNumLock},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_KP_0, VkNumpad0},
    {SDL_SCANCODE_KP_1, VkNumpad0 + 1},
    {SDL_SCANCODE_KP_2, VkNumpad0 + 2},
    {SDL_SCANCODE_KP_3, VkNumpad0 + 3},
    {SDL_SCANCODE_KP_4, VkNumpad0 + 4},
    {SDL_SCANCODE_KP_5, VkNumpad0 + 5},
    {SDL_SCANCODE_KP_6, VkNumpad0 + 6},
    {SDL_SCANCODE_KP_7, VkNumpad0 + 7},
    {SDL_SCANCODE_KP_8, VkNumpad0 + 8},
    {SDL_SCANCODE_KP_9, VkNumpad0 + 9},
    {SDL_SCANCODE_KP_MULTIPLY, VkMultiply},
    {SDL_SCANCODE_KP_PLUS, VkAdd},
    {SDL_SCANCODE_KP_MINUS, VkSubtract},
    {SDL_SCANCODE_KP_PERIOD, VkDecimal},
    {SDL_SCANCODE_KP_DIVIDE, VkDivide},
    {SDL_SCANCODE_SEMICOLON, VkOemSemicolon},
    {SDL_SCANCODE_EQUALS, VkOemPlus},
    {SDL_SCANCODE_COMMA, VkOemComma},
    {SDL_SCANCODE_MINUS, VkOemMinus},
    {SDL_SCANCODE_PERIOD, VkOemPeriod},
    {SDL_SCANCODE_SLASH, VkOemSlash},
    {SDL_SCANCODE_GRAVE, VkOemBackquote},
    {SDL_SCANCODE_LEFTBRACKET, VkOemOpenBracket},
    {SDL_SCANCODE_BACKSLASH, VkOemBackslash},
    {SDL_SCANCODE_RIGHTBRACKET, VkOemCloseBracket},
    {SDL_SCANCODE_APOSTROPHE, VkOemQuote},
    {SDL_SCANCODE_NONUSBACKSLASH, VkOem102},
};

} // namespace

int VirtualKeyFromScancode(SDL_Scancode scancode) {
  for (const KeyMapping &mapping : KeyTable) {
    if (mapping.scancode == scancode)
      return mapping.virtualKey;
  }
  return 0;
}
