// Entry point of halyard.exe. The clock takes no arguments; any given are ignored.
#include <windows.h>

#include "app/RunClock.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return halyard::RunClock(); }
