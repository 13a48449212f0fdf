// The keys the program and its windows tell apart, by their virtual-key codes.
#pragma once

namespace platform {

constexpr int kKeyTab = 0x09;
constexpr int kKeyReturn = 0x0D;
constexpr int kKeyEscape = 0x1B;
constexpr int kKeySpace = 0x20;
constexpr int kKeyUp = 0x26;
constexpr int kKeyDown = 0x28;
constexpr int kKeyF1 = 0x70;

}  // namespace platform
