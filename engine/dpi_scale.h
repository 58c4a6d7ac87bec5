// Lengths in pixels at a window's DPI. Windows draws at 96 DPI at 100 %; a
// window that follows its monitor draws what it measures or makes itself (a
// font's height, an icon's side, a margin) at its own DPI, and makes it again
// when that changes.
#pragma once

// The DPI of 100 %.
const int BASE_DPI = 96;

// What is `value` pixels at `fromDpi` at `toDpi`, rounded to the nearest
// pixel, half away from zero as the system's MulDiv rounds, so a font's
// negative height keeps its sign; `value` itself for a DPI that is not positive.
int ScaleForDpi(int value, int fromDpi, int toDpi);
