// keys.cpp: SDL keys to the platform's virtual-key codes.
//
// Letters follow the keyboard layout (the key symbol), so the key that types 'A' gives 0x41.
// Digits of the main row follow the key's place (the scan code), so they give 0x30-0x39 on
// every layout; the keypad's digits give VK_NUMPAD0-VK_NUMPAD9 and never the main-row codes.
#include "shell/standin/standin_internal.h"

namespace {

struct KeyPair {
    SDL_Scancode scancode;
    UINT code;
};

const KeyPair namedKeys[] = {
    {SDL_SCANCODE_BACKSPACE, VK_BACK},   {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_RETURN, VK_RETURN},    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},     {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LALT, VK_MENU},        {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_LEFT, VK_LEFT},        {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},      {SDL_SCANCODE_DOWN, VK_DOWN},
};

} // namespace

UINT standinVirtualKey(const SDL_Keysym& key)
{
    SDL_Scancode s = key.scancode;
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) return 'A' + (key.sym - SDLK_a);
    // A letter key whose layout gives no Latin letter still counts by its place.
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z && (key.sym & SDLK_SCANCODE_MASK) == 0 &&
        key.sym >= 0x80) {
        return 'A' + (s - SDL_SCANCODE_A);
    }
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return '1' + (s - SDL_SCANCODE_1);
    if (s == SDL_SCANCODE_0) return '0';
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return VK_NUMPAD0 + 1 + (s - SDL_SCANCODE_KP_1);
    if (s == SDL_SCANCODE_KP_0) return VK_NUMPAD0;
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return VK_F1 + (s - SDL_SCANCODE_F1);
    for (const auto& k : namedKeys) {
        if (k.scancode == s) return k.code;
    }
    return 0;
}
