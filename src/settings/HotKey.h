#pragma once
#include <cstddef>
#include <cstdint>

// The global hot key. Its address is handed to HookLib.dll, so the layout is fixed at 8 bytes on
// every architecture.
struct THotKey {
    uint8_t blAlt = 1;
    uint8_t blCtrl = 0;
    uint8_t blShift = 0;
    uint8_t reserved = 0;
    int32_t iVirtCode = 69; // 'E'
};
static_assert(sizeof(THotKey) == 8, "THotKey is shared with HookLib.dll");
static_assert(offsetof(THotKey, blAlt) == 0 && offsetof(THotKey, blCtrl) == 1 &&
                  offsetof(THotKey, blShift) == 2 && offsetof(THotKey, iVirtCode) == 4,
              "THotKey field offsets are shared with HookLib.dll");
